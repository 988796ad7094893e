#include "run_figures.h"

#include <algorithm>

#include "formatting.h"

namespace velmora {

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
    return QStringLiteral("Proses Selesai\nBerhasil: %1\nGagal: %2").arg(succeeded).arg(failed);
}

}  // namespace velmora
