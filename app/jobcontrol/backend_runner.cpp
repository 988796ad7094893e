// SPDX-License-Identifier: GPL-3.0-or-later
#include "backend_runner.h"

#include <QDir>
#include <QFile>
#include <QPointer>

#include <poll.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "backend_files.h"
#include "job_folder.h"
#include "resource_directory.h"
#include "scan_pool.h"

namespace velmora {

namespace {

std::vector<std::string> toLocal(const QStringList& texts) {
    std::vector<std::string> converted;
    converted.reserve(texts.size());
    for (const QString& text : texts) {
        converted.push_back(QFile::encodeName(text).toStdString());
    }
    return converted;
}

QString describeError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

BackendRunner::BackendRunner(QString scriptName, QString jobFolderPrefix,
                             std::chrono::milliseconds pollInterval)
    : scriptName_(std::move(scriptName)),
      jobFolderPrefix_(std::move(jobFolderPrefix)),
      pollInterval_(pollInterval),
      interpreter_(QStringLiteral("/bin/bash")) {}

// The members release the run without signalling it (see ChildProcess).
BackendRunner::~BackendRunner() = default;

void BackendRunner::setResourceDirectory(const QString& directory) {
    resourceDirectory_ = directory;
}

void BackendRunner::setPollInterval(std::chrono::milliseconds interval) {
    pollInterval_ = interval;
}

void BackendRunner::setInterpreter(const QString& program) {
    interpreter_ = program;
}

QString BackendRunner::backendPath() const {
    const QString directory = resourceDirectory_.value_or(applicationResourceDirectory());
    return QDir(directory).filePath(scriptName_);
}

QString BackendRunner::makeJobFolder() const {
    return velmora::makeJobFolder(jobFolderPrefix_);
}

void BackendRunner::launchWaited(const QStringList& arguments, const QString& resultFile,
                                 Output stdoutTarget,
                                 std::function<void(const WaitedOutcome&)> done) {
    const std::string program = QFile::encodeName(interpreter_).toStdString();
    const std::vector<std::string> argv = toLocal(QStringList{backendPath()} + arguments);
    const QPointer<BackendRunner> self(this);
    const auto waited = std::make_shared<WaitedChild>();
    waited_ = waited;

    scanPool().start([=] {
        if (self.isNull()) {
            return;
        }
        WaitedOutcome outcome;
        SpawnResult spawned = ChildProcess::spawn(program, argv, stdoutTarget, Output::Discard);
        if (!spawned.child) {
            outcome.launchError = describeError(spawned.error);
        } else {
            outcome.launched = true;
            {
                const std::lock_guard hold(waited->lock);
                waited->child = spawned.child.get();
                if (waited->stopAsked) {
                    (void)spawned.child->signalGroup(SIGTERM);
                }
            }
            // Waited for without reaping first, so that stopWaited() never
            // signals a group whose id may already be another's.
            pollfd watch{spawned.child->exitDescriptor(), POLLIN, 0};
            while (poll(&watch, 1, -1) < 0 && errno == EINTR) {
            }
            {
                const std::lock_guard hold(waited->lock);
                waited->child = nullptr;
            }
            outcome.exitStatus = spawned.child->wait();
            outcome.resultText = readTextFile(resultFile).value_or(QString());
        }
        postToMainThread([self, done, outcome] {
            if (!self.isNull()) {
                done(outcome);
            }
        });
    });
}

void BackendRunner::stopWaited() {
    if (!waited_) {
        return;
    }
    const std::lock_guard hold(waited_->lock);
    waited_->stopAsked = true;
    if (waited_->child != nullptr) {
        (void)waited_->child->signalGroup(SIGTERM);
    }
}

std::optional<QString> BackendRunner::launchWatched(const QStringList& arguments) {
    timer_.reset();
    exitNotifier_.reset();
    process_.reset();

    SpawnResult spawned = ChildProcess::spawn(QFile::encodeName(interpreter_).toStdString(),
                                              toLocal(QStringList{backendPath()} + arguments),
                                              Output::Discard, Output::Discard);
    if (!spawned.child) {
        return describeError(spawned.error);
    }
    process_ = std::move(spawned.child);

    // Both report on this thread's event loop, so the end of a run that exits
    // at once is still seen only after the caller has finished its launch.
    exitNotifier_ =
        std::make_unique<QSocketNotifier>(process_->exitDescriptor(), QSocketNotifier::Read);
    connect(exitNotifier_.get(), &QSocketNotifier::activated, this, &BackendRunner::onRunExited);

    timer_ = std::make_unique<QTimer>();
    timer_->setInterval(pollInterval_);
    connect(timer_.get(), &QTimer::timeout, this, &BackendRunner::tick);
    timer_->start();
    return std::nullopt;
}

bool BackendRunner::isRunning() const {
    return process_ && process_->isRunning();
}

SignalResult BackendRunner::sendSignal(int signal) {
    if (!isRunning()) {
        return SignalResult::NotRunning;
    }
    return process_->signalGroup(signal) ? SignalResult::Delivered : SignalResult::Refused;
}

qint64 BackendRunner::processId() const {
    return process_ ? process_->pid() : -1;
}

void BackendRunner::keepUntilRunEnds(std::shared_ptr<const void> keepsake) {
    if (process_) {
        process_->keepUntilReaped(std::move(keepsake));
    }
}

void BackendRunner::onRunExited() {
    exitNotifier_->setEnabled(false);
    const int exitStatus = process_->wait();
    timer_.reset();
    // The notifier is the sender: let it go once control has left it.
    exitNotifier_.release()->deleteLater();
    process_.reset();
    emit finished(exitStatus);
}

}  // namespace velmora
