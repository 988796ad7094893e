#include "job_model.h"

#include <QDir>

#include <csignal>

#include "backend_files.h"
#include "completion_sound.h"
#include "job_folder.h"
#include "job_protocol.h"
#include "published_field.h"

JobModel::JobModel(const JobSetup& setup, QObject* parent)
    : QObject(parent),
      status_(setup.initialStatus),
      setup_(setup),
      chooser_(velmora::choosePlatformFolder),
      runner_(setup.scriptName, setup.jobFolderPrefix, setup.pollInterval) {
    connect(&runner_, &velmora::BackendRunner::tick, this, [this] { readStatus(false); });
    connect(&runner_, &velmora::BackendRunner::finished, this, &JobModel::finishRun);
}

JobModel::~JobModel() = default;

QString JobModel::sourcePath() const {
    return sourceURL_.toLocalFile();
}

void JobModel::setFolderChooser(velmora::FolderChooser chooser) {
    chooser_ = std::move(chooser);
}

void JobModel::chooseSource() {
    const QString folder = chooser_(setup_.chooserTitle);
    if (folder.isEmpty()) {
        return;
    }
    setSourceURL(QUrl::fromLocalFile(QDir::cleanPath(folder)));
    resetScan();
}

void JobModel::resetScan() {
    clearScanFigures();
    setScanReady(false);
    setIsPaused(false);
    setStatus(setup_.scanPrompt);
}

void JobModel::scan() {
    if (sourceURL_.isEmpty()) {
        alert(QStringLiteral("Pilih folder sumber terlebih dahulu."));
        return;
    }
    setIsBusy(true);
    setScanReady(false);
    setStatus(setup_.scanning);

    const QString jobFolder = runner_.makeJobFolder();
    jobFolder_ = jobFolder;
    const QUrl scannedSource = sourceURL_;
    runner_.launchWaited(scanArguments(jobFolder),
                         velmora::jobFilePath(jobFolder, velmora::job::kSummary), setup_.scanOutput,
                         [this, jobFolder, scannedSource](const velmora::WaitedOutcome& outcome) {
                             applyScanResult(outcome, jobFolder, scannedSource);
                         });
}

void JobModel::applyScanResult(const velmora::WaitedOutcome& outcome, const QString& jobFolder,
                               const QUrl& scannedSource) {
    if (jobFolder != jobFolder_) {
        return;  // a later scan has taken over; its own result will come
    }
    setIsBusy(false);
    if (!outcome.launched) {
        alert(outcome.launchError);
        return;
    }
    if (scannedSource != sourceURL_) {
        return;  // another folder was chosen meanwhile: these figures are not its
    }
    if (outcome.exitStatus != 0 || !takeSummary(outcome.resultText)) {
        alert(setup_.scanFailed);
        return;
    }
    setProcessed(0);
    setFailed(0);
    setScanReady(total_ > 0);
    setStatus(total_ > 0 ? scannedStatus() : setup_.nothingFound);
}

void JobModel::start() {
    if (sourceURL_.isEmpty() || jobFolder_.isEmpty() || total_ < 1) {
        return;
    }
    setIsBusy(true);
    setIsPaused(false);
    clearRunFigures();

    const auto refusal = runner_.launchWatched(runArguments());
    if (refusal) {
        setIsBusy(false);
        setIsPaused(false);
        alert(*refusal);
        return;
    }
    setStatus(runLabel() + QStringLiteral("… 0%"));
}

void JobModel::togglePause() {
    const bool pausing = !isPaused_;
    switch (runner_.sendSignal(pausing ? SIGSTOP : SIGCONT)) {
        case velmora::SignalResult::NotRunning:
            return;
        case velmora::SignalResult::Refused:
            alert(QStringLiteral("Tidak dapat ") +
                  (pausing ? QStringLiteral("menjeda") : QStringLiteral("melanjutkan")) +
                  QStringLiteral(" proses."));
            return;
        case velmora::SignalResult::Delivered:
            setIsPaused(pausing);
            setStatus(pausing ? setup_.paused : resumedStatus());
            return;
    }
}

void JobModel::alert(const QString& text) {
    setAlertText(text);
    setShowAlert(true);
}

void JobModel::readStatus(bool final) {
    if (jobFolder_.isEmpty()) {
        return;
    }
    const auto text =
        velmora::readTextFile(velmora::jobFilePath(jobFolder_, velmora::job::kStatus));
    const auto figures = text ? runFiguresOf(*text) : std::nullopt;
    if (!figures) {
        return;
    }
    setProcessed(figures->processed);
    setFailed(figures->failed);
    setProgress(figures->progress, figures->percent);
    takeOwnRunFigures(*figures);
    setEta(velmora::etaOf(processed_, total_, figures->seconds, final));
    setStatus(final ? setup_.done
                    : runLabel() + QStringLiteral("… ") + QString::number(percent_) +
                          QStringLiteral("%"));
}

void JobModel::finishRun(int exitStatus) {
    setIsBusy(false);
    setIsPaused(false);
    readStatus(true);
    if (exitStatus != 0) {
        setStatus(setup_.stoppedWithError.arg(exitStatus));
        return;
    }
    setStatus(setup_.done);
    velmora::playCompletionSound();
    alert(velmora::completionAlert(processed_, failed_));
}

// Setters: each publishes its field when the value changes.

void JobModel::setSourceURL(const QUrl& url) {
    const bool couldScan = canScan();
    velmora::publish(this, sourceURL_, url, &JobModel::sourceURLChanged);
    announceCanScan(couldScan);
}

void JobModel::setWorkers(int value) {
    velmora::publish(this, workers_, value, &JobModel::workersChanged);
}

void JobModel::setShowAlert(bool value) {
    velmora::publish(this, showAlert_, value, &JobModel::showAlertChanged);
}

void JobModel::setTotal(qint64 value) {
    velmora::publish(this, total_, value, &JobModel::totalChanged);
}

void JobModel::setIgnored(qint64 value) {
    velmora::publish(this, ignored_, value, &JobModel::ignoredChanged);
}

void JobModel::setIsPaused(bool value) {
    velmora::publish(this, isPaused_, value, &JobModel::isPausedChanged);
}

void JobModel::setProgress(double progress, qint64 percent) {
    velmora::publish(this, progress_, progress, &JobModel::progressChanged);
    velmora::publish(this, percent_, percent, &JobModel::percentChanged);
}

void JobModel::setEta(const QString& value) {
    velmora::publish(this, eta_, value, &JobModel::etaChanged);
}

void JobModel::setProcessed(qint64 value) {
    velmora::publish(this, processed_, value, &JobModel::processedChanged);
}

void JobModel::setFailed(qint64 value) {
    velmora::publish(this, failed_, value, &JobModel::failedChanged);
}

void JobModel::setStatus(const QString& value) {
    velmora::publish(this, status_, value, &JobModel::statusChanged);
}

void JobModel::setIsBusy(bool value) {
    const bool couldScan = canScan();
    velmora::publish(this, isBusy_, value, &JobModel::isBusyChanged);
    announceCanScan(couldScan);
}

void JobModel::announceCanScan(bool before) {
    if (canScan() != before) {
        emit canScanChanged();
    }
}

void JobModel::setScanReady(bool value) {
    velmora::publish(this, scanReady_, value, &JobModel::scanReadyChanged);
}

void JobModel::setAlertText(const QString& value) {
    velmora::publish(this, alertText_, value, &JobModel::alertTextChanged);
}
