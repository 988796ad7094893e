#include "formatting.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {
constexpr double kKilobyte = 1024.0;
constexpr double kMegabyte = 1048576.0;
constexpr double kGigabyte = 1073741824.0;
// 2^63: the first value that a signed 64-bit second count cannot hold.
constexpr double kSecondsLimit = 9223372036854775808.0;
}  // namespace

QString time(double seconds) {
    const double rounded = std::round(seconds);  // halves away from zero
    if (!std::isfinite(rounded) || std::fabs(rounded) >= kSecondsLimit) {
        return QStringLiteral("--:--");
    }
    const long long whole = std::max(0LL, static_cast<long long>(rounded));
    return QString::asprintf("%02lld:%02lld", whole / 60, whole % 60);
}

QString speedText(double speedValue, const QString& mode) {
    if (mode == QLatin1String("MOVE")) {
        return QString::asprintf("%.0f file/s", speedValue);
    }
    return QString::asprintf("%.1f MB/s", speedValue);
}

QString size(double bytes) {
    if (bytes < kMegabyte) {
        return QString::asprintf("%.0f KB", bytes / kKilobyte);
    }
    if (bytes < kGigabyte) {
        return QString::asprintf("%.1f MB", bytes / kMegabyte);
    }
    return QString::asprintf("%.2f GB", bytes / kGigabyte);
}

}  // namespace velmora
