#pragma once

#include <QString>

namespace velmora {

/// Fraction of `total` done: the smaller of 1 and processed / total; 0 when
/// `total` is not above 0.
double progressOf(qint64 processed, qint64 total);

/// The whole percent shown in a running status line: the progress times 100,
/// cut toward zero, computed in integers so that 29 of 100 reads 29.
qint64 wholePercentOf(qint64 processed, qint64 total);

/// Remaining time: the average time per file so far times the files left,
/// while some but not all are done; otherwise "00:00" on the final read and
/// "--:--" on a poll.
QString etaOf(qint64 processed, qint64 total, double seconds, bool final);

/// The end-of-run alert: "Proses Selesai\nBerhasil: S\nGagal: F", where S is
/// the larger of 0 and processed - failed.
QString completionAlert(qint64 processed, qint64 failed);

}  // namespace velmora
