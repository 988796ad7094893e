// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// The texts are written as C printf writes them, with "." as the decimal
// point whatever the user's locale.

/// Remaining time as minutes and seconds ("%02d:%02d"): `seconds` rounded to
/// the nearest whole second (halves away from zero), negative times as
/// 00:00, minutes never capped. A value that is not finite or does not fit a
/// 64-bit second count shows as "--:--".
QString formatDuration(double seconds);

/// The sort speed: "%.0f file/s" (its unit in the application's language)
/// when `mode` is "MOVE", else "%.1f MB/s".
QString speedText(double speedValue, const QString& mode);

/// A speed in megabytes per second: "%.1f MB/s".
QString megabyteSpeedText(double megabytesPerSecond);

/// A byte count as "%.0f KB" below 1 MiB, "%.1f MB" below 1 GiB, else "%.2f GB".
QString formatByteSize(double bytes);

/// True when `a` comes before `b` in the order of a file manager: runs of
/// ASCII digits by their value ("IMG_2" before "IMG_10"), everything else
/// by character; the same for every locale.
bool comesBeforeInFolderOrder(const QString& a, const QString& b);

}  // namespace velmora
