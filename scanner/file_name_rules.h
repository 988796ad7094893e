// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace velmora {

/// The scan's number of a file: the whole run of ASCII digits that ends
/// right before the last "." of `name`, provided at least one character
/// follows that dot. Leading zeros are allowed ("000.png" gives 0). None
/// when there is no such run or when its value does not fit a signed 64-bit
/// integer. Same result as the first match of the pattern
/// "([0-9]+)(?=\.[^.]+$)" on `name`.
///
/// The sort worker reads each listed photo's number again by its own rule,
/// numberFromUnicodeNumericRun (sorter/unicode_numeric_run.h), which takes
/// the whole run of Unicode numeric characters before the extension and
/// reads it only when all of it is ASCII digits. The two differ on purpose:
/// the scan lists and counts by the ASCII digits alone, while the worker
/// files a photo only by a number that is the whole numeric end of its
/// name. "x²5.jpg" is listed here as odd (5); the worker finds no number in
/// "²5", counts the photo as failed and leaves it where it is.
std::optional<std::int64_t> numberFromAsciiDigitRun(std::string_view name);

/// True when the text after the last "." of `name`, in lower case, is one of
/// the photo extensions "jpg", "jpeg", "png", "heic", "tif", "tiff", "webp".
bool hasPhotoExtension(std::string_view name);

}  // namespace velmora
