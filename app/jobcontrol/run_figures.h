// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

#include "pause_log.h"

namespace velmora {

/// The figures of a running job as the screens show them, from one status
/// line of its worker and the scan's total.
struct RunFigures {
    qint64 processed = 0;         ///< photos handled so far, failures included
    qint64 failed = 0;            ///< photos the worker failed on
    double progress = 0.0;        ///< progressOf(processed, total)
    qint64 percent = 0;           ///< wholePercentOf(processed, total)
    double speed = 0.0;           ///< per second, in the job's unit; 0 before any time has passed
    double seconds = 0.0;         ///< the run has worked, since it began: paused time left out
    double backendSeconds = 0.0;  ///< the backend's own clock, as the line says
    double outputBytes = 0.0;     ///< bytes written so far (compress runs only)
};

/// What the sort speed counts: files (MOVE mode) or megabytes (COPY mode).
enum class SortSpeedUnit { Files, Megabytes };

/// The figures of the sort worker's status line `text` for `total` photos,
/// the speed in `unit` per second of the time the worker was not stopped
/// (`pauses`); nothing when `text` is not a valid line.
std::optional<RunFigures> sortRunFigures(const QString& text, qint64 total, SortSpeedUnit unit,
                                         const PauseLog& pauses = {});

/// The figures of the compress worker's status line `text` for `total`
/// photos, the speed in megabytes read per second of the time the worker
/// was not stopped (`pauses`); nothing when `text` is not a valid line.
std::optional<RunFigures> compressRunFigures(const QString& text, qint64 total,
                                             const PauseLog& pauses = {});

/// Fraction of `total` done: the smaller of 1 and processed / total; 0 when
/// `total` is not above 0.
double progressOf(qint64 processed, qint64 total);

/// The whole percent of a run, shown in the status line and the progress
/// panel alike: the progress times 100, cut toward zero, computed in
/// integers so that 29 of 100 reads 29.
qint64 wholePercentOf(qint64 processed, qint64 total);

/// Remaining time: the average time per file so far times the files left,
/// while some but not all are done; otherwise "00:00" on the final read and
/// "--:--" on a poll.
QString etaOf(qint64 processed, qint64 total, double seconds, bool final);

/// The end-of-run alert: "Proses Selesai\nBerhasil: S\nGagal: F" in the
/// application's language, where S is the larger of 0 and processed - failed.
QString completionAlert(qint64 processed, qint64 failed);

}  // namespace velmora
