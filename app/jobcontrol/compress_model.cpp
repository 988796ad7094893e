#include "compress_model.h"

#include <QDir>

#include <csignal>

#include "backend_files.h"
#include "completion_sound.h"
#include "formatting.h"
#include "published_field.h"
#include "run_figures.h"

using namespace std::chrono_literals;

CompressModel::CompressModel(QObject* parent)
    : QObject(parent),
      status_(QStringLiteral("Pilih folder yang berisi foto.")),
      chooser_(velmora::choosePlatformFolder),
      runner_(QStringLiteral("compress_backend.sh"), QStringLiteral("VeradEvazuviz-"), 300ms) {
    connect(&runner_, &velmora::BackendRunner::tick, this, [this] { readStatus(false); });
    connect(&runner_, &velmora::BackendRunner::finished, this, &CompressModel::finishRun);
}

CompressModel::~CompressModel() = default;

QString CompressModel::sourcePath() const {
    return sourceURL_.toLocalFile();
}

QString CompressModel::outputFolderName() const {
    return QStringLiteral("COMPRESSED_") + QString::number(quality_);
}

QString CompressModel::beforeText() const {
    return velmora::size(inputBytes_);
}

QString CompressModel::afterText() const {
    return velmora::size(outputBytes_);
}

QString CompressModel::speedText() const {
    return velmora::megabyteSpeedText(speedMBps_);
}

void CompressModel::setFolderChooser(velmora::FolderChooser chooser) {
    chooser_ = std::move(chooser);
}

void CompressModel::chooseSource() {
    const QString folder = chooser_(QStringLiteral("Pilih Folder Foto"));
    if (folder.isEmpty()) {
        return;
    }
    setSourceURL(QUrl::fromLocalFile(QDir::cleanPath(folder)));
    resetScan();
}

void CompressModel::resetScan() {
    setTotal(0);
    setIgnored(0);
    setProcessed(0);
    setFailed(0);
    setProgress(0.0);
    setInputBytes(0.0);
    setOutputBytes(0.0);
    setSpeedMBps(0.0);
    setEta(QStringLiteral("--:--"));
    setScanReady(false);
    setIsPaused(false);
    setStatus(QStringLiteral("Klik SCAN FOTO untuk membaca foto yang dapat dikompres."));
}

void CompressModel::scan() {
    if (sourceURL_.isEmpty()) {
        alert(QStringLiteral("Pilih folder sumber terlebih dahulu."));
        return;
    }
    setIsBusy(true);
    setScanReady(false);
    setStatus(QStringLiteral("Scanning file foto…"));

    const QString jobFolder = runner_.makeJobFolder();
    tempDir_ = jobFolder;
    const QUrl scannedSource = sourceURL_;
    runner_.launchWaited(
        {QStringLiteral("scan"), sourcePath(), jobFolder, QString::number(quality_)},
        QDir(jobFolder).filePath(QStringLiteral("summary.txt")), velmora::Output::Discard,
        [this, jobFolder, scannedSource](const velmora::WaitedOutcome& outcome) {
            applyScanResult(outcome, jobFolder, scannedSource);
        });
}

void CompressModel::applyScanResult(const velmora::WaitedOutcome& outcome, const QString& jobFolder,
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
    const auto summary = velmora::parseCompressSummary(outcome.resultText);
    if (outcome.exitStatus != 0 || !summary) {
        alert(QStringLiteral("Scan kompresi gagal."));
        return;
    }
    setTotal(summary->photos);
    setIgnored(summary->leftAside);
    setInputBytes(summary->bytes);
    setOutputBytes(0.0);
    setProcessed(0);
    setFailed(0);
    setScanReady(total_ > 0);
    setStatus(total_ > 0 ? QStringLiteral("Scan selesai. Output: ") + outputFolderName()
                         : QStringLiteral("Tidak ada file foto yang didukung."));
}

void CompressModel::start() {
    if (sourceURL_.isEmpty() || tempDir_.isEmpty() || total_ < 1) {
        return;
    }
    setIsBusy(true);
    setIsPaused(false);
    setProcessed(0);
    setFailed(0);
    setProgress(0.0);
    setOutputBytes(0.0);
    setSpeedMBps(0.0);
    setEta(QStringLiteral("--:--"));

    const auto refusal = runner_.launchWatched({
        QStringLiteral("compress"),
        sourcePath(),
        tempDir_,
        QString::number(quality_),
        QString::number(workers_),
    });
    if (refusal) {
        setIsBusy(false);
        setIsPaused(false);
        alert(*refusal);
        return;
    }
    setStatus(QStringLiteral("Mengompres… 0%"));
}

void CompressModel::togglePause() {
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
            setStatus(pausing ? QStringLiteral("Kompresi dijeda sementara…")
                              : QStringLiteral("Kompresi dilanjutkan…"));
            return;
    }
}

void CompressModel::alert(const QString& text) {
    setAlertText(text);
    setShowAlert(true);
}

void CompressModel::readStatus(bool final) {
    if (tempDir_.isEmpty()) {
        return;
    }
    const auto text = velmora::readTextFile(QDir(tempDir_).filePath(QStringLiteral("status.txt")));
    const auto line = text ? velmora::parseCompressStatus(*text) : std::nullopt;
    if (!line) {
        return;
    }
    setProcessed(line->done);
    setFailed(line->failed);
    setOutputBytes(line->outputBytes);
    setProgress(velmora::progressOf(processed_, total_));
    setSpeedMBps(line->seconds > 0 ? line->inputBytes / 1048576.0 / line->seconds : 0.0);
    setEta(velmora::etaOf(processed_, total_, line->seconds, final));
    setStatus(final ? QStringLiteral("Kompresi selesai.")
                    : QStringLiteral("Mengompres… ") +
                          QString::number(velmora::wholePercentOf(processed_, total_)) +
                          QStringLiteral("%"));
}

void CompressModel::finishRun(int exitStatus) {
    setIsBusy(false);
    setIsPaused(false);
    readStatus(true);
    if (exitStatus != 0) {
        setStatus(QStringLiteral("Kompresi berhenti dengan error (code %1).").arg(exitStatus));
        return;
    }
    setStatus(QStringLiteral("Kompresi selesai."));
    velmora::playCompletionSound();
    alert(velmora::completionAlert(processed_, failed_));
}

// Setters: each publishes its field when the value changes.

void CompressModel::setSourceURL(const QUrl& url) {
    velmora::publish(this, sourceURL_, url, &CompressModel::sourceURLChanged);
}

void CompressModel::setQuality(int quality) {
    velmora::publish(this, quality_, quality, &CompressModel::qualityChanged);
}

void CompressModel::setWorkers(int workers) {
    velmora::publish(this, workers_, workers, &CompressModel::workersChanged);
}

void CompressModel::setShowAlert(bool show) {
    velmora::publish(this, showAlert_, show, &CompressModel::showAlertChanged);
}

void CompressModel::setIsPaused(bool value) {
    velmora::publish(this, isPaused_, value, &CompressModel::isPausedChanged);
}

void CompressModel::setTotal(qint64 value) {
    velmora::publish(this, total_, value, &CompressModel::totalChanged);
}

void CompressModel::setIgnored(qint64 value) {
    velmora::publish(this, ignored_, value, &CompressModel::ignoredChanged);
}

void CompressModel::setProcessed(qint64 value) {
    velmora::publish(this, processed_, value, &CompressModel::processedChanged);
}

void CompressModel::setFailed(qint64 value) {
    velmora::publish(this, failed_, value, &CompressModel::failedChanged);
}

void CompressModel::setProgress(double value) {
    velmora::publish(this, progress_, value, &CompressModel::progressChanged);
}

void CompressModel::setInputBytes(double value) {
    velmora::publish(this, inputBytes_, value, &CompressModel::inputBytesChanged);
}

void CompressModel::setOutputBytes(double value) {
    velmora::publish(this, outputBytes_, value, &CompressModel::outputBytesChanged);
}

void CompressModel::setSpeedMBps(double value) {
    velmora::publish(this, speedMBps_, value, &CompressModel::speedMBpsChanged);
}

void CompressModel::setEta(const QString& value) {
    velmora::publish(this, eta_, value, &CompressModel::etaChanged);
}

void CompressModel::setStatus(const QString& value) {
    velmora::publish(this, status_, value, &CompressModel::statusChanged);
}

void CompressModel::setIsBusy(bool value) {
    velmora::publish(this, isBusy_, value, &CompressModel::isBusyChanged);
}

void CompressModel::setScanReady(bool value) {
    velmora::publish(this, scanReady_, value, &CompressModel::scanReadyChanged);
}

void CompressModel::setAlertText(const QString& value) {
    velmora::publish(this, alertText_, value, &CompressModel::alertTextChanged);
}
