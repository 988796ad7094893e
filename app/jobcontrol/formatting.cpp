// SPDX-License-Identifier: GPL-3.0-or-later
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

namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

/// The end of the run of digits in `text` from `at`.
qsizetype endOfDigits(const QString& text, qsizetype at) {
    while (at < text.size() && isAsciiDigit(text[at])) {
        ++at;
    }
    return at;
}

}  // namespace

bool comesBeforeInFolderOrder(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (!isAsciiDigit(a[i]) || !isAsciiDigit(b[j])) {
            if (a[i] != b[j]) {
                return a[i] < b[j];
            }
            ++i;
            ++j;
            continue;
        }
        const qsizetype aEnd = endOfDigits(a, i);
        const qsizetype bEnd = endOfDigits(b, j);
        // Leading zeros do not make a number larger.
        while (i + 1 < aEnd && a[i] == u'0') {
            ++i;
        }
        while (j + 1 < bEnd && b[j] == u'0') {
            ++j;
        }
        if (aEnd - i != bEnd - j) {
            return aEnd - i < bEnd - j;
        }
        const int digits =
            QStringView(a).sliced(i, aEnd - i).compare(QStringView(b).sliced(j, bEnd - j));
        if (digits != 0) {
            return digits < 0;
        }
        i = aEnd;
        j = bEnd;
    }
    return a.size() - i < b.size() - j;
}

}  // namespace velmora
