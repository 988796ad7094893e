// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "child_process.h"

namespace velmora {

/// What a waited launch (a scan) brought back.
struct WaitedOutcome {
    bool launched = false;  ///< false when the system refused to start the backend
    QString launchError;    ///< the system's description of that refusal
    int exitStatus = -1;    ///< exit status, or the number of the signal that ended it
    QString resultText;     ///< the result file as UTF-8; empty when it could not be read
};

/// Outcome of a pause or resume request.
enum class SignalResult { Delivered, NotRunning, Refused };

/// Starts one job controller's backend script with /bin/bash, in two ways: a
/// waited launch (a scan, waited for on a pool thread) and a watched launch
/// (a run, whose end is reported on the main thread while a repeating poll
/// timer ticks). The backend's output is discarded (the null device). Each
/// backend leads a process group of its own, and a run is paused and resumed
/// with signals to that whole group, so the tools and encoders it started
/// stop and go on with it. Destroying the runner neither signals nor waits
/// for a backend that still runs: it runs on to its end and is reaped then.
class BackendRunner : public QObject {
    Q_OBJECT

  public:
    /// `scriptName` is looked up in the resource directory; job folders are
    /// named `jobFolderPrefix` plus an upper-case UUID.
    BackendRunner(QString scriptName, QString jobFolderPrefix,
                  std::chrono::milliseconds pollInterval);
    ~BackendRunner() override;

    /// Replaces the application's resource directory (tests use fake scripts).
    void setResourceDirectory(const QString& directory);
    /// Replaces the poll interval of the next run.
    void setPollInterval(std::chrono::milliseconds interval);
    /// Replaces /bin/bash (tests use a missing program to have a launch refused).
    void setInterpreter(const QString& program);

    /// Full path of the backend script; not tested for existence.
    QString backendPath() const;
    /// Makes a fresh private job folder and returns its path (also when
    /// making it failed: the backend then reports the failure).
    QString makeJobFolder() const;

    /// Starts the backend with `arguments` after the script path on a pool
    /// thread, waits for it and reads `resultFile`. `done` runs on the main
    /// thread, and only while this runner exists; a pool thread that starts
    /// after the runner is gone launches nothing. `stdoutTarget` says whether
    /// the backend's standard output goes to the application's; standard
    /// error is always discarded.
    void launchWaited(const QStringList& arguments, const QString& resultFile, Output stdoutTarget,
                      std::function<void(const WaitedOutcome&)> done);
    /// Sends SIGTERM to the process group of the latest waited launch, now
    /// if it runs, or as soon as it has started; nothing once it has ended.
    /// Its outcome still comes, with the exit status it ended with.
    void stopWaited();

    /// Starts a run with `arguments` after the script path, releasing any run
    /// held before. On success starts the poll timer (tick()) and later
    /// reports the end with finished(); on refusal returns the system's
    /// description and starts nothing.
    std::optional<QString> launchWatched(const QStringList& arguments);

    /// True while a run is held and has not ended.
    bool isRunning() const;
    /// Sends `signal` to the running run's process group: the backend and
    /// every process it started. NotRunning once the backend has ended. Safe
    /// to call from the destructor of the runner's owner (a paused run is
    /// resumed there, so that it goes on to its end once released).
    SignalResult sendSignal(int signal);
    /// Process id of the held run, or -1.
    qint64 processId() const;
    /// Keeps `keepsake` until the held run's backend has ended, also when
    /// the run is let go of first; nothing when no run is held.
    void keepUntilRunEnds(std::shared_ptr<const void> keepsake);

  signals:
    /// The poll timer of the current run fired.
    void tick();
    /// The run has ended: the timer is stopped and the process released.
    void finished(int exitStatus);

  private:
    /// The child of a waited launch, while the pool thread waits for it.
    struct WaitedChild {
        std::mutex lock;
        ChildProcess* child = nullptr;  ///< set while started and not yet reaped
        bool stopAsked = false;
    };

    void onRunExited();

    QString scriptName_;
    QString jobFolderPrefix_;
    std::chrono::milliseconds pollInterval_;
    QString interpreter_;
    std::optional<QString> resourceDirectory_;

    std::shared_ptr<WaitedChild> waited_;  ///< the latest waited launch
    std::unique_ptr<ChildProcess> process_;
    std::unique_ptr<QSocketNotifier> exitNotifier_;
    std::unique_ptr<QTimer> timer_;
};

}  // namespace velmora
