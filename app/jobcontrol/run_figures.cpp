// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_figures.h"

#include <QCoreApplication>

#include <algorithm>

#include "backend_files.h"
#include "formatting.h"

namespace velmora {

namespace {
constexpr double kMegabyte = 1048576.0;

/// The figures common to both jobs' status lines: counts, progress and
/// working time.
template <typename StatusLine>
RunFigures countsOf(const StatusLine& line, qint64 total, const PauseLog& pauses) {
    RunFigures figures;
    figures.processed = line.done;
    figures.failed = line.failed;
    figures.progress = progressOf(line.done, total);
    figures.percent = wholePercentOf(line.done, total);
    figures.seconds = pauses.activeSeconds(line.seconds);
    figures.backendSeconds = line.seconds;
    return figures;
}

/// `amount` per second over `seconds`; 0 while no time has passed.
double perSecond(double amount, double seconds) {
    return seconds > 0 ? amount / seconds : 0.0;
}
}  // namespace

std::optional<RunFigures> sortRunFigures(const QString& text, qint64 total, SortSpeedUnit unit,
                                         const PauseLog& pauses) {
    const auto line = parseSortStatus(text);
    if (!line) {
        return std::nullopt;
    }
    RunFigures figures = countsOf(*line, total, pauses);
    figures.speed = unit == SortSpeedUnit::Files
                        ? perSecond(static_cast<double>(line->done), figures.seconds)
                        : perSecond(line->bytes / kMegabyte, figures.seconds);
    return figures;
}

std::optional<RunFigures> compressRunFigures(const QString& text, qint64 total,
                                             const PauseLog& pauses) {
    const auto line = parseCompressStatus(text);
    if (!line) {
        return std::nullopt;
    }
    RunFigures figures = countsOf(*line, total, pauses);
    figures.speed = perSecond(line->inputBytes / kMegabyte, figures.seconds);
    figures.outputBytes = line->outputBytes;
    return figures;
}

double progressOf(qint64 processed, qint64 total) {
    if (total <= 0) {
        return 0.0;
    }
    return std::min(1.0, static_cast<double>(processed) / static_cast<double>(total));
}

qint64 wholePercentOf(qint64 processed, qint64 total) {
    if (total <= 0) {
        return 0;
    }
    const __int128 percent = static_cast<__int128>(processed) * 100 / total;
    return static_cast<qint64>(std::min<__int128>(percent, 100));
}

QString etaOf(qint64 processed, qint64 total, double seconds, bool final) {
    if (processed > 0 && processed < total) {
        return formatDuration(seconds / static_cast<double>(processed) *
                              static_cast<double>(total - processed));
    }
    return final ? QStringLiteral("00:00") : QStringLiteral("--:--");
}

QString completionAlert(qint64 processed, qint64 failed) {
    const qint64 succeeded = std::max<qint64>(0, processed - failed);
    return QCoreApplication::translate("RunFigures", "Proses Selesai\nBerhasil: %1\nGagal: %2")
        .arg(QString::number(succeeded), QString::number(failed));
}

}  // namespace velmora
