#include "formatting.h"

#include <QCoreApplication>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace velmora {

namespace {
constexpr double kKilobyte = 1024.0;
constexpr double kMegabyte = 1048576.0;
constexpr double kGigabyte = 1073741824.0;
// 2^63: the first value that a signed 64-bit second count cannot hold.
constexpr double kSecondsLimit = 9223372036854775808.0;
/// `value` with `digits` decimals, as printf's "%.Nf" writes it (correctly
/// rounded), but always with a "." whatever LC_NUMERIC says.
QString fixed(double value, int digits) {
    char text[400];  // room for the largest double written out in full
    const auto written =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, digits);
    return QString::fromLatin1(text, written.ptr - text);
}

}  // namespace

QString formatDuration(double seconds) {
    const double rounded = std::round(seconds);  // halves away from zero
    if (!std::isfinite(rounded) || std::fabs(rounded) >= kSecondsLimit) {
        return QStringLiteral("--:--");
    }
    const long long whole = std::max(0LL, static_cast<long long>(rounded));
    return QString::asprintf("%02lld:%02lld", whole / 60, whole % 60);
}

QString speedText(double speedValue, const QString& mode) {
    if (mode == QLatin1String("MOVE")) {
        return QCoreApplication::translate("Formatting", "%1 file/s").arg(fixed(speedValue, 0));
    }
    return megabyteSpeedText(speedValue);
}

QString megabyteSpeedText(double megabytesPerSecond) {
    return fixed(megabytesPerSecond, 1) + QStringLiteral(" MB/s");
}

QString formatByteSize(double bytes) {
    if (bytes < kMegabyte) {
        return fixed(bytes / kKilobyte, 0) + QStringLiteral(" KB");
    }
    if (bytes < kGigabyte) {
        return fixed(bytes / kMegabyte, 1) + QStringLiteral(" MB");
    }
    return fixed(bytes / kGigabyte, 2) + QStringLiteral(" GB");
}

}  // namespace velmora
