#include "sorter_model.h"

#include <QDir>

#include <algorithm>
#include <csignal>

#include "backend_files.h"
#include "completion_sound.h"
#include "formatting.h"
#include "published_field.h"
#include "run_figures.h"

using namespace std::chrono_literals;

namespace {
const QString kScanning = QStringLiteral("Scanning seluruh folder dan subfolder…");
}  // namespace

SorterModel::SorterModel(QObject* parent)
    : QObject(parent),
      status_(QStringLiteral("Pilih folder sumber.")),
      chooser_(velmora::choosePlatformFolder),
      runner_(QStringLiteral("sorter_backend.sh"), QStringLiteral("Velmora-"), 200ms) {
    connect(&runner_, &velmora::BackendRunner::tick, this, [this] { readStatus(false); });
    connect(&runner_, &velmora::BackendRunner::finished, this, &SorterModel::finishRun);
}

SorterModel::~SorterModel() = default;

QString SorterModel::sourcePath() const {
    return sourceURL_.toLocalFile();
}

QString SorterModel::speedText() const {
    return velmora::speedText(speedValue_, mode_);
}

void SorterModel::setFolderChooser(velmora::FolderChooser chooser) {
    chooser_ = std::move(chooser);
}

void SorterModel::chooseSource() {
    const QString folder = chooser_(QStringLiteral("Pilih Folder Sumber"));
    if (folder.isEmpty()) {
        return;
    }
    setSourceURL(QUrl::fromLocalFile(QDir::cleanPath(folder)));
    resetScan();
}

void SorterModel::resetScan() {
    setTotal(0);
    setOdd(0);
    setEven(0);
    setIgnored(0);
    setProgress(0.0);
    setSpeedValue(0.0);
    setEta(QStringLiteral("--:--"));
    setProcessed(0);
    setFailed(0);
    setScanReady(false);
    setIsPaused(false);
    setStatus(QStringLiteral("Klik SCAN FOTO untuk membaca seluruh subfolder."));
}

void SorterModel::scan() {
    if (sourceURL_.isEmpty()) {
        alert(QStringLiteral("Pilih folder sumber terlebih dahulu."));
        return;
    }
    setIsBusy(true);
    setScanReady(false);
    setStatus(kScanning);

    const QString jobFolder = runner_.makeJobFolder();
    tempDir_ = jobFolder;
    const QUrl scannedSource = sourceURL_;
    runner_.launchWaited({QStringLiteral("scan"), sourcePath(), jobFolder},
                         QDir(jobFolder).filePath(QStringLiteral("summary.txt")),
                         velmora::Output::Inherit,
                         [this, jobFolder, scannedSource](const velmora::WaitedOutcome& outcome) {
                             applyScanResult(outcome, jobFolder, scannedSource);
                         });
}

void SorterModel::applyScanResult(const velmora::WaitedOutcome& outcome, const QString& jobFolder,
                                  const QUrl& scannedSource) {
    if (jobFolder != tempDir_) {
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
    const auto summary = velmora::parseSortSummary(outcome.resultText);
    if (outcome.exitStatus != 0 || !summary) {
        alert(QStringLiteral("Scan gagal."));
        return;
    }
    setTotal(summary->total);
    setOdd(summary->odd);
    setEven(summary->even);
    setIgnored(summary->ignored);
    setProcessed(0);
    setFailed(0);
    setScanReady(total_ > 0);
    setStatus(total_ > 0 ? QStringLiteral("Scan selesai. Siap sortir.")
                         : QStringLiteral("Tidak ada file bernomor."));
}

void SorterModel::start() {
    if (sourceURL_.isEmpty() || tempDir_.isEmpty() || total_ < 1) {
        return;
    }
    setIsBusy(true);
    setIsPaused(false);
    setProgress(0.0);
    setSpeedValue(0.0);
    setEta(QStringLiteral("--:--"));
    setProcessed(0);
    setFailed(0);

    const auto refusal = runner_.launchWatched({
        QStringLiteral("sort"),
        sourcePath(),
        tempDir_,
        mode_,
        QString::number(workers_),
        QString::number(std::max(1, oddFolders_)),
        QString::number(std::max(1, evenFolders_)),
    });
    if (refusal) {
        setIsBusy(false);
        setIsPaused(false);
        alert(*refusal);
        return;
    }
    setStatus(runLabel() + QStringLiteral("… 0%"));
}

void SorterModel::togglePause() {
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
            setStatus(pausing ? QStringLiteral("Sortir dijeda sementara…")
                              : runLabel() + QStringLiteral(" dilanjutkan…"));
            return;
    }
}

void SorterModel::alert(const QString& text) {
    setAlertText(text);
    setShowAlert(true);
}

void SorterModel::readStatus(bool final) {
    if (tempDir_.isEmpty()) {
        return;
    }
    const auto text = velmora::readTextFile(QDir(tempDir_).filePath(QStringLiteral("status.txt")));
    const auto line = text ? velmora::parseSortStatus(*text) : std::nullopt;
    if (!line) {
        return;
    }
    setProcessed(line->done);
    setFailed(line->failed);
    setProgress(velmora::progressOf(processed_, total_));
    double speed = 0.0;
    if (line->seconds > 0) {
        speed = mode_ == QLatin1String("MOVE") ? static_cast<double>(processed_) / line->seconds
                                               : line->bytes / 1048576.0 / line->seconds;
    }
    setSpeedValue(speed);
    setEta(velmora::etaOf(processed_, total_, line->seconds, final));
    setStatus(final ? QStringLiteral("Selesai.")
                    : runLabel() + QStringLiteral("… ") +
                          QString::number(velmora::wholePercentOf(processed_, total_)) +
                          QStringLiteral("%"));
}

void SorterModel::finishRun(int exitStatus) {
    setIsBusy(false);
    setIsPaused(false);
    readStatus(true);
    if (exitStatus != 0) {
        setStatus(QStringLiteral("Proses berhenti dengan error (code %1).").arg(exitStatus));
        return;
    }
    setStatus(QStringLiteral("Selesai."));
    velmora::playCompletionSound();
    alert(velmora::completionAlert(processed_, failed_));
}

QString SorterModel::runLabel() const {
    return mode_ == QLatin1String("MOVE") ? QStringLiteral("FAST MOVE") : QStringLiteral("COPY");
}

// Setters: each publishes its field when the value changes.

void SorterModel::setSourceURL(const QUrl& url) {
    velmora::publish(this, sourceURL_, url, &SorterModel::sourceURLChanged);
}

void SorterModel::setMode(const QString& mode) {
    if (mode_ != mode) {
        mode_ = mode;
        emit modeChanged();
        emit speedTextChanged();
    }
}

void SorterModel::setWorkers(int value) {
    velmora::publish(this, workers_, value, &SorterModel::workersChanged);
}

void SorterModel::setOddFolders(int value) {
    velmora::publish(this, oddFolders_, value, &SorterModel::oddFoldersChanged);
}

void SorterModel::setEvenFolders(int value) {
    velmora::publish(this, evenFolders_, value, &SorterModel::evenFoldersChanged);
}

void SorterModel::setShowAlert(bool value) {
    velmora::publish(this, showAlert_, value, &SorterModel::showAlertChanged);
}

void SorterModel::setTotal(qint64 value) {
    velmora::publish(this, total_, value, &SorterModel::totalChanged);
}

void SorterModel::setOdd(qint64 value) {
    velmora::publish(this, odd_, value, &SorterModel::oddChanged);
}

void SorterModel::setEven(qint64 value) {
    velmora::publish(this, even_, value, &SorterModel::evenChanged);
}

void SorterModel::setIgnored(qint64 value) {
    velmora::publish(this, ignored_, value, &SorterModel::ignoredChanged);
}

void SorterModel::setIsPaused(bool value) {
    velmora::publish(this, isPaused_, value, &SorterModel::isPausedChanged);
}

void SorterModel::setProgress(double value) {
    velmora::publish(this, progress_, value, &SorterModel::progressChanged);
}

void SorterModel::setEta(const QString& value) {
    velmora::publish(this, eta_, value, &SorterModel::etaChanged);
}

void SorterModel::setProcessed(qint64 value) {
    velmora::publish(this, processed_, value, &SorterModel::processedChanged);
}

void SorterModel::setFailed(qint64 value) {
    velmora::publish(this, failed_, value, &SorterModel::failedChanged);
}

void SorterModel::setStatus(const QString& value) {
    velmora::publish(this, status_, value, &SorterModel::statusChanged);
}

void SorterModel::setIsBusy(bool value) {
    velmora::publish(this, isBusy_, value, &SorterModel::isBusyChanged);
}

void SorterModel::setScanReady(bool value) {
    velmora::publish(this, scanReady_, value, &SorterModel::scanReadyChanged);
}

void SorterModel::setAlertText(const QString& value) {
    velmora::publish(this, alertText_, value, &SorterModel::alertTextChanged);
}

void SorterModel::setSpeedValue(double value) {
    if (speedValue_ != value) {
        speedValue_ = value;
        emit speedValueChanged();
        emit speedTextChanged();
    }
}
