// SPDX-License-Identifier: GPL-3.0-or-later
#include "compress_model.h"

#include <QDir>

#include <algorithm>

#include "backend_files.h"
#include "formatting.h"
#include "job_folder.h"
#include "job_protocol.h"
#include "published_field.h"
#include "run_figures.h"

using namespace std::chrono_literals;

CompressModel::CompressModel(QObject* parent)
    : JobModel(
          {
              .scriptName = QStringLiteral("compress_backend.sh"),
              .jobFolderPrefix = QStringLiteral("VeradEvazuviz-"),
              .pollInterval = 300ms,
              .scanOutput = velmora::Output::Discard,
              .chooserTitle = tr("Pilih Folder Foto"),
              .initialStatus = tr("Pilih folder yang berisi foto."),
              .scanPrompt = tr("Klik SCAN FOLDER untuk membaca foto yang dapat dikompres."),
              .scanning = tr("Scanning file foto…"),
              .nothingFound = tr("Tidak ada file foto yang didukung."),
              .sourceUnreadable = tr("Folder foto tidak dapat dibaca."),
              .scanFailed = tr("Scan kompresi gagal."),
              .paused = tr("Kompresi dijeda sementara…"),
              .stoppedWithError = tr("Kompresi berhenti dengan error (code %1)."),
              .done = tr("Kompresi selesai."),
          },
          parent) {}

QString CompressModel::outputFolderName() const {
    return QString::fromStdString(velmora::job::compressedFolderName(quality_));
}

QString CompressModel::beforeText() const {
    return velmora::formatByteSize(inputBytes_);
}

QString CompressModel::afterText() const {
    return velmora::formatByteSize(outputBytes_);
}

QString CompressModel::speedText() const {
    return velmora::megabyteSpeedText(speedMBps_);
}

void CompressModel::clearScanFigures() {
    setTotal(0);
    setIgnored(0);
    setProcessed(0);
    setFailed(0);
    setProgress(0.0, 0);
    setInputBytes(0.0);
    setOutputBytes(0.0);
    setSpeedMBps(0.0);
    setEta(QStringLiteral("--:--"));
}

void CompressModel::clearRunFigures() {
    setProcessed(0);
    setFailed(0);
    setProgress(0.0, 0);
    setOutputBytes(0.0);
    setSpeedMBps(0.0);
    setEta(QStringLiteral("--:--"));
}

QStringList CompressModel::scanArguments(const QString& jobFolder) const {
    return {QStringLiteral("scan"), sourcePath(), jobFolder, QString::number(quality_)};
}

bool CompressModel::takeSummary(const QString& text) {
    const auto summary = velmora::parseCompressSummary(text);
    if (!summary) {
        return false;
    }
    setTotal(summary->photos);
    setIgnored(summary->leftAside);
    setInputBytes(summary->bytes);
    setOutputBytes(0.0);
    setUnreadableNames(summary->unreadableNames);
    return true;
}

QStringList CompressModel::runEndDetails(const QString& runFolder) const {
    const auto status =
        velmora::parseCompressStatus(velmora::jobFileText(runFolder, velmora::job::kStatus));
    if (!status) {
        return {};
    }
    QStringList lines;
    if (status->inputBytes > 0) {
        const double saved = std::max(0.0, 1.0 - status->outputBytes / status->inputBytes);
        //: In the end alert: the photos' size before and after, and the share saved.
        lines << tr("Ukuran: %1 → %2 (hemat %3%)")
                     .arg(velmora::formatByteSize(status->inputBytes),
                          velmora::formatByteSize(status->outputBytes))
                     .arg(qRound(saved * 100.0));
    }
    if (status->kept > 0) {
        //: In the end alert: re-encoded, these photos came out no smaller, so they are kept as they
        //: were.
        lines << tr("%n foto dibiarkan apa adanya (tidak lebih kecil setelah dikompres).", nullptr,
                    static_cast<int>(status->kept));
    }
    if (status->uncompressed > 0) {
        //: In the end alert: files the encoder could not read, copied unchanged.
        lines << tr("%n foto disalin tanpa kompresi (bukan gambar yang terbaca).", nullptr,
                    static_cast<int>(status->uncompressed));
    }
    return lines;
}

QString CompressModel::scannedStatus() const {
    return tr("Scan selesai. Output: %1").arg(outputFolderName());
}

QStringList CompressModel::runArguments() const {
    return {
        QStringLiteral("compress"), sourcePath(), jobFolder(), QString::number(quality_),
        QString::number(workers()),
    };
}

std::optional<velmora::RunFigures> CompressModel::runFiguresOf(
    const QString& text, const velmora::PauseLog& pauses) const {
    return velmora::compressRunFigures(text, total(), pauses);
}

void CompressModel::takeOwnRunFigures(const velmora::RunFigures& figures) {
    setOutputBytes(figures.outputBytes);
    setSpeedMBps(figures.speed);
}

QString CompressModel::runningStatus(qint64 percent) const {
    return tr("Mengompres… %1%").arg(percent);
}

QString CompressModel::resumedStatus() const {
    return tr("Kompresi dilanjutkan…");
}

QString CompressModel::runOutputFolder() const {
    return QDir(sourcePath()).filePath(outputFolderName());
}

// Setters: each publishes its field when the value changes.

void CompressModel::setQuality(int quality) {
    if (!isBusy() && velmora::publish(this, quality_, quality, &CompressModel::qualityChanged)) {
        resetScan();
    }
}

void CompressModel::setInputBytes(double value) {
    velmora::publish(this, inputBytes_, value, &CompressModel::inputBytesChanged);
}

void CompressModel::setOutputBytes(double value) {
    velmora::publish(this, outputBytes_, value, &CompressModel::outputBytesChanged);
}

void CompressModel::setSpeedMBps(double value) {
    if (velmora::publish(this, speedMBps_, value, &CompressModel::speedMBpsChanged)) {
        emit speedTextChanged();
    }
}
