// SPDX-License-Identifier: GPL-3.0-or-later
#include "sorter_model.h"

#include <algorithm>

#include "backend_files.h"
#include "formatting.h"
#include "published_field.h"
#include "run_figures.h"

using namespace std::chrono_literals;

SorterModel::SorterModel(QObject* parent)
    : JobModel(
          {
              .scriptName = QStringLiteral("sorter_backend.sh"),
              .jobFolderPrefix = QStringLiteral("Velmora-"),
              .pollInterval = 200ms,
              .scanOutput = velmora::Output::Inherit,
              .chooserTitle = tr("Pilih Folder Sumber"),
              .initialStatus = tr("Pilih folder sumber."),
              .scanPrompt = tr("Klik SCAN FOLDER untuk membaca seluruh subfolder."),
              .scanning = tr("Scanning seluruh folder dan subfolder…"),
              .nothingFound = tr("Tidak ada file bernomor."),
              .sourceUnreadable = tr("Folder sumber tidak dapat dibaca."),
              .scanFailed = tr("Scan gagal."),
              .paused = tr("Sortir dijeda sementara…"),
              .stoppedWithError = tr("Proses berhenti dengan error (code %1)."),
              .done = tr("Selesai."),
          },
          parent) {}

QString SorterModel::speedText() const {
    return velmora::speedText(speedValue_, shownMode());
}

void SorterModel::clearScanFigures() {
    if (runMode_) {
        runMode_.reset();
        emit speedTextChanged();
    }
    setTotal(0);
    setOdd(0);
    setEven(0);
    setIgnored(0);
    clearRunFigures();
}

void SorterModel::clearRunFigures() {
    setProgress(0.0, 0);
    setSpeedValue(0.0);
    setEta(QStringLiteral("--:--"));
    setProcessed(0);
    setFailed(0);
}

QStringList SorterModel::scanArguments(const QString& jobFolder) const {
    return {QStringLiteral("scan"), sourcePath(), jobFolder};
}

bool SorterModel::takeSummary(const QString& text) {
    const auto summary = velmora::parseSortSummary(text);
    if (!summary) {
        return false;
    }
    setTotal(summary->total);
    setOdd(summary->odd);
    setEven(summary->even);
    setIgnored(summary->ignored);
    setUnreadableNames(summary->unreadableNames);
    return true;
}

QString SorterModel::scannedStatus() const {
    return tr("Scan selesai. Siap sortir.");
}

QStringList SorterModel::runArguments() const {
    return {
        QStringLiteral("sort"),
        sourcePath(),
        jobFolder(),
        mode_,
        QString::number(workers()),
        QString::number(std::max(1, oddFolders_)),
        QString::number(std::max(1, evenFolders_)),
    };
}

std::optional<velmora::RunFigures> SorterModel::runFiguresOf(
    const QString& text, const velmora::PauseLog& pauses) const {
    return velmora::sortRunFigures(
        text, total(),
        movesFiles() ? velmora::SortSpeedUnit::Files : velmora::SortSpeedUnit::Megabytes, pauses);
}

void SorterModel::takeOwnRunFigures(const velmora::RunFigures& figures) {
    setSpeedValue(figures.speed);
}

QString SorterModel::runningStatus(qint64 percent) const {
    return (movesFiles() ? tr("FAST MOVE… %1%") : tr("COPY… %1%")).arg(percent);
}

void SorterModel::beginRun() {
    const bool unitChanges = shownMode() != mode_;
    runMode_ = mode_;
    if (unitChanges) {
        emit speedTextChanged();
    }
}

QString SorterModel::resumedStatus() const {
    return movesFiles() ? tr("FAST MOVE dilanjutkan…") : tr("COPY dilanjutkan…");
}

// Setters: each publishes its field when the value changes.

void SorterModel::setMode(const QString& mode) {
    if (velmora::publish(this, mode_, mode, &SorterModel::modeChanged) && !runMode_) {
        emit speedTextChanged();
    }
}

void SorterModel::setOddFolders(int value) {
    velmora::publish(this, oddFolders_, value, &SorterModel::oddFoldersChanged);
}

void SorterModel::setEvenFolders(int value) {
    velmora::publish(this, evenFolders_, value, &SorterModel::evenFoldersChanged);
}

void SorterModel::setOdd(qint64 value) {
    velmora::publish(this, odd_, value, &SorterModel::oddChanged);
}

void SorterModel::setEven(qint64 value) {
    velmora::publish(this, even_, value, &SorterModel::evenChanged);
}

void SorterModel::setSpeedValue(double value) {
    if (velmora::publish(this, speedValue_, value, &SorterModel::speedValueChanged)) {
        emit speedTextChanged();
    }
}
