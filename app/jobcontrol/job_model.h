// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantList>

#include <chrono>
#include <optional>

#include "backend_files.h"
#include "backend_runner.h"
#include "folder_chooser.h"
#include "job_folder_lease.h"
#include "pause_log.h"
#include "run_figures.h"

/// What sets one job apart from the other jobs: its backend, its job
/// folders, its poll interval and the fixed texts it shows, in the
/// application's language.
struct JobSetup {
    QString scriptName;                      ///< the backend script, e.g. "sorter_backend.sh"
    QString jobFolderPrefix;                 ///< job folders are this plus an upper-case UUID
    std::chrono::milliseconds pollInterval;  ///< how often a run's status file is read
    velmora::Output scanOutput;              ///< where the scan's standard output goes

    QString chooserTitle;      ///< title of the folder chooser
    QString initialStatus;     ///< status before any folder is chosen
    QString scanPrompt;        ///< status after resetScan()
    QString scanning;          ///< status while a scan runs
    QString nothingFound;      ///< status after a scan that found no photo
    QString sourceUnreadable;  ///< status after a scan that could not read the folder itself
    QString scanFailed;        ///< alert after a failed scan
    QString paused;            ///< status after a pause
    QString stoppedWithError;  ///< status after a failing run; "%1" is the exit status
    QString done;              ///< status after a run that ended well
};

/// The state behind one job screen: a source folder, the figures of the last
/// scan and of the running job, one status line and an alert. Drives the
/// job's backend script ("scan", then the job's own verb) through a
/// BackendRunner; the subclasses add their choices and figures and read
/// their backend's files. Lives on the main thread; every change is
/// published there.
///
/// While a scan or a run is busy the source folder stays as it is, so the
/// figures, the paused state and the end alert always belong to the folder
/// shown. Each scan works in a job folder of its own, which is removed once
/// a later scan has replaced it, or the model has gone, and no backend works
/// in it any more.
///
/// Its texts are written in Indonesian and go through tr(), so they are in
/// the language of the translation the application holds when they are made.
class JobModel : public QObject {
    Q_OBJECT

    Q_PROPERTY(QUrl sourceURL READ sourceURL WRITE setSourceURL NOTIFY sourceURLChanged)
    Q_PROPERTY(qint64 total READ total NOTIFY totalChanged)
    Q_PROPERTY(qint64 ignored READ ignored NOTIFY ignoredChanged)
    Q_PROPERTY(int workers READ workers WRITE setWorkers NOTIFY workersChanged)
    Q_PROPERTY(bool isPaused READ isPaused NOTIFY isPausedChanged)
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged)
    /// The whole percent done, as the status line and the progress panel show it.
    Q_PROPERTY(qint64 percent READ percent NOTIFY percentChanged)
    /// The run's speed as the progress panel shows it, in the job's unit.
    Q_PROPERTY(QString speedText READ speedText NOTIFY speedTextChanged)
    Q_PROPERTY(QString eta READ eta NOTIFY etaChanged)
    Q_PROPERTY(qint64 processed READ processed NOTIFY processedChanged)
    Q_PROPERTY(qint64 failed READ failed NOTIFY failedChanged)
    Q_PROPERTY(QString status READ status NOTIFY statusChanged)
    Q_PROPERTY(bool isBusy READ isBusy NOTIFY isBusyChanged)
    /// True from start() until the run has ended; false during a scan.
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY isRunningChanged)
    /// True from stop() until the stopped scan or run has ended.
    Q_PROPERTY(bool isStopping READ isStopping NOTIFY isStoppingChanged)
    Q_PROPERTY(bool scanReady READ scanReady NOTIFY scanReadyChanged)
    /// True while a folder is chosen and neither a scan nor a run is busy.
    Q_PROPERTY(bool canScan READ canScan NOTIFY canScanChanged)
    Q_PROPERTY(bool showAlert READ showAlert WRITE setShowAlert NOTIFY showAlertChanged)
    Q_PROPERTY(QString alertText READ alertText NOTIFY alertTextChanged)
    /// The photos the run of the end alert failed on, each a map of "path"
    /// and "reason", at most kListedFailures of them; empty for other alerts.
    Q_PROPERTY(QVariantList alertFailures READ alertFailures NOTIFY alertTextChanged)
    /// The folder the run of the end alert wrote into, for the user to open:
    /// the source folder after a sort, its output folder after a compress.
    /// Empty when that folder did not exist as the alert was raised, and for
    /// every other alert.
    Q_PROPERTY(QUrl alertFolder READ alertFolder NOTIFY alertTextChanged)
    /// Title of the folder chooser.
    Q_PROPERTY(QString chooserTitle READ chooserTitle CONSTANT)
    /// Where the folder chooser opens: the chosen folder, else the home folder.
    Q_PROPERTY(QUrl chooserFolder READ chooserFolder NOTIFY sourceURLChanged)

    /// The chosen folder as a plain path; empty while none is chosen.
    Q_PROPERTY(QString sourcePath READ sourcePath NOTIFY sourceURLChanged)

  public:
    /// The most failed photos an end alert lists.
    static constexpr qsizetype kListedFailures = 500;

    /// Job folder of the latest scan; empty before the first. It goes away
    /// with the model (or a newer scan), once no backend works in it.
    QString jobFolder() const { return jobFolder_ ? jobFolder_->path() : QString(); }

    /// Releases the job's handles. A running backend goes on unobserved, and
    /// one that is paused is continued first, so that it runs to its end;
    /// its job folder is removed once it has ended.
    ~JobModel() override;

    QUrl sourceURL() const { return sourceURL_; }
    qint64 total() const { return total_; }
    qint64 ignored() const { return ignored_; }
    int workers() const { return workers_; }
    bool isPaused() const { return isPaused_; }
    double progress() const { return progress_; }
    qint64 percent() const { return percent_; }
    QString eta() const { return eta_; }
    qint64 processed() const { return processed_; }
    qint64 failed() const { return failed_; }
    QString status() const { return status_; }
    bool isBusy() const { return isBusy_; }
    bool isRunning() const { return isRunning_; }
    bool isStopping() const { return isStopping_; }
    bool scanReady() const { return scanReady_; }
    /// True when the latest scan could not read the chosen folder itself.
    bool sourceUnreadable() const { return sourceUnreadable_; }
    bool canScan() const { return !sourceURL_.isEmpty() && !isBusy_; }
    bool showAlert() const { return showAlert_; }
    QString alertText() const { return alertText_; }
    QVariantList alertFailures() const { return alertFailures_; }
    QUrl alertFolder() const { return alertFolder_; }
    QString chooserTitle() const { return setup_.chooserTitle; }
    QUrl chooserFolder() const;
    QString sourcePath() const;
    virtual QString speedText() const = 0;

    /// Sets the source folder as it stands, unless a scan or a run is busy;
    /// chooseSource() also resets the scan.
    void setSourceURL(const QUrl& url);
    /// Sets the workers of the next run; nothing while a scan or run is busy.
    void setWorkers(int workers);
    /// The screen clears the flag when the user dismisses the alert.
    void setShowAlert(bool show);

    /// Asks for a folder under the job's title, unless a scan or a run is
    /// busy: through the chooser set with setFolderChooser(), or else by
    /// folderChooserRequested(), whose answer is takeChosenFolder().
    Q_INVOKABLE void chooseSource();
    /// Makes `folder` the source and resets the scan; nothing while a scan
    /// or a run is busy or for an empty or non-local URL.
    Q_INVOKABLE void takeChosenFolder(const QUrl& folder);
    /// Why dropping `urls` (from a file manager) would choose no folder, in
    /// the application's language; empty when the first of them is a local
    /// folder or file that exists. Says nothing of a busy scan or run.
    Q_INVOKABLE QString dropRefusal(const QList<QUrl>& urls) const;
    /// Takes a drop of `urls` as takeChosenFolder() takes a chosen folder:
    /// the first of them when it is a folder, else the folder that holds
    /// it; nothing when dropRefusal() gives a reason, or while a scan or a
    /// run is busy.
    Q_INVOKABLE void takeDroppedUrls(const QList<QUrl>& urls);
    /// Zeroes the scan and run figures and asks for a new scan; nothing
    /// while a scan or a run is busy, whose figures they are.
    Q_INVOKABLE void resetScan();
    /// Scans the source folder in a new job folder.
    Q_INVOKABLE void scan();
    /// Runs the job on the scanned photos; does nothing without a source, a
    /// scan or photos.
    Q_INVOKABLE void start();
    /// Stops or continues the running job; does nothing when none runs.
    Q_INVOKABLE void togglePause();
    /// Ends the busy scan or run as the command line ends it on Ctrl-C:
    /// SIGTERM to the backend's process group (continued first when paused),
    /// so that its tools finish the photo they are on and end. A stopped
    /// run ends with the stopped alert, its counts and its failures; a
    /// stopped scan leaves no scan. Nothing while neither is busy.
    Q_INVOKABLE void stop();
    /// Raises an alert with `text`.
    Q_INVOKABLE void alert(const QString& text);
    /// Puts the end alert's failed photos on the clipboard, one
    /// "path: reason" a line, in the order listed.
    Q_INVOKABLE void copyFailures() const;

    /// Answers chooseSource() at once (tests supply a folder) instead of
    /// asking the screen's folder chooser.
    void setFolderChooser(velmora::FolderChooser chooser);
    /// The process runner, for settings such as the resource directory and
    /// the poll interval.
    velmora::BackendRunner& runner() { return runner_; }

  signals:
    void sourceURLChanged();
    void totalChanged();
    void ignoredChanged();
    void workersChanged();
    void isPausedChanged();
    void progressChanged();
    void percentChanged();
    void speedTextChanged();
    void etaChanged();
    void processedChanged();
    void failedChanged();
    void statusChanged();
    void isBusyChanged();
    void isRunningChanged();
    void isStoppingChanged();
    void scanReadyChanged();
    void canScanChanged();
    void showAlertChanged();
    void alertTextChanged();
    /// chooseSource() asks the screen to show its folder chooser.
    void folderChooserRequested();

  protected:
    explicit JobModel(const JobSetup& setup, QObject* parent = nullptr);

    void setTotal(qint64 value);
    void setIgnored(qint64 value);
    /// Sets the progress and its whole percent together.
    void setProgress(double progress, qint64 percent);
    void setEta(const QString& value);
    void setProcessed(qint64 value);
    void setFailed(qint64 value);
    /// The photos the latest scan left out because their names cannot be
    /// read: told after the scan and again in the end alert.
    void setUnreadableNames(qint64 value) { unreadableNames_ = value; }

  private:
    /// Lines below the counts of the end alert that only this job has, read
    /// from the ended run's job folder; none by default.
    virtual QStringList runEndDetails(const QString& runFolder) const {
        Q_UNUSED(runFolder);
        return {};
    }
    /// Zeroes every scan and run figure, in the job's own order (resetScan()).
    virtual void clearScanFigures() = 0;
    /// Zeroes the run figures, in the job's own order, as a run starts.
    virtual void clearRunFigures() = 0;
    /// The arguments of the "scan" verb, the verb included.
    virtual QStringList scanArguments(const QString& jobFolder) const = 0;
    /// Publishes the scan figures of a summary file's text; false, changing
    /// nothing, when the text is not a valid summary.
    virtual bool takeSummary(const QString& text) = 0;
    /// Status after a scan that found photos.
    virtual QString scannedStatus() const = 0;
    /// The arguments of a run, the verb included.
    virtual QStringList runArguments() const = 0;
    /// The run figures of a status file's text, paused time left out;
    /// nothing when the text is not a valid status line.
    virtual std::optional<velmora::RunFigures> runFiguresOf(
        const QString& text, const velmora::PauseLog& pauses) const = 0;
    /// Publishes the run figures only this job shows (its speed, its output).
    virtual void takeOwnRunFigures(const velmora::RunFigures& figures) = 0;
    /// The status line of a running job at `percent` done, e.g. "Mengompres… 37%".
    virtual QString runningStatus(qint64 percent) const = 0;
    /// Status after a resumed pause.
    virtual QString resumedStatus() const = 0;
    /// Takes the choices that hold for the whole run about to start.
    virtual void beginRun() {}
    /// The folder a run writes into, as a plain path: the source folder
    /// unless the job writes into a folder of its own.
    virtual QString runOutputFolder() const { return sourcePath(); }

    void applyScanResult(const velmora::WaitedOutcome& outcome,
                         const velmora::JobFolderHold& scanFolder);
    /// `status` with the number of folders the scan could not read and of
    /// the photos it left out because their names cannot be read.
    static QString withUnreadableCount(const QString& status, qsizetype unreadable,
                                       qint64 unreadableNames);
    /// The text of the end alert: the counts, under the stopped title when
    /// `stopped`, then what the user must know of the photos not done (a
    /// full disk, names that cannot be read).
    QString runEndText(const QString& runFolder, int exitStatus,
                       const QList<velmora::FailedPhoto>& failures, bool stopped) const;
    /// Reads the job folder's status file into the run figures; `final`
    /// marks the read made after the backend has ended. While the run is
    /// paused the paused status and ETA stay.
    void readStatus(bool final);
    /// Ends the run on the backend's `exitStatus` (settleRun()) and tells
    /// the desktop how it ended.
    void finishRun(int exitStatus);
    /// Sets the figures, status and alert of the ended run; returns what
    /// the user is told of it, the end alert's text or the status line.
    QString settleRun(int exitStatus);
    /// The failed photos of the finished run, as the end alert lists them:
    /// in order of path, each reason in the window's language.
    static QVariantList listedFailures(QList<velmora::FailedPhoto> failures);
    /// Seconds since the current run was launched.
    double runSeconds() const;

    void setIsPaused(bool value);
    void setStatus(const QString& value);
    void setIsBusy(bool value);
    void setIsRunning(bool value);
    void setIsStopping(bool value);
    void setScanReady(bool value);
    /// Sets the alert's text, the failures it lists and the folder it
    /// offers to open.
    void setAlert(const QString& text, const QVariantList& failures, const QUrl& folder = QUrl());
    /// Emits canScanChanged() when canScan() differs from `before`.
    void announceCanScan(bool before);

    QUrl sourceURL_;
    qint64 total_ = 0;
    qint64 ignored_ = 0;
    int workers_ = 4;
    bool isPaused_ = false;
    double progress_ = 0.0;
    qint64 percent_ = 0;
    QString eta_ = QStringLiteral("--:--");
    qint64 processed_ = 0;
    qint64 failed_ = 0;
    QString status_;
    bool isBusy_ = false;
    bool isRunning_ = false;
    bool isStopping_ = false;
    bool scanReady_ = false;
    bool sourceUnreadable_ = false;
    qint64 unreadableNames_ = 0;
    bool showAlert_ = false;
    QString alertText_;
    QVariantList alertFailures_;
    QUrl alertFolder_;

    velmora::JobFolderHold jobFolder_;  ///< the latest scan's job folder
    velmora::JobFolderHold runFolder_;  ///< the running backend's job folder
    QElapsedTimer runClock_;            ///< started as a run is launched
    velmora::PauseLog pauses_;          ///< the current run's stops

    JobSetup setup_;
    velmora::FolderChooser chooser_;
    velmora::BackendRunner runner_;
};
