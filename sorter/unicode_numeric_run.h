// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace velmora {

/// The sort worker's number of a UTF-8 file name: the last extension is
/// dropped, then the run of Unicode numeric characters (Numeric_Type other
/// than None: digits of any script, superscripts, fractions, roman
/// numerals...) that ends the rest is read as a signed 64-bit decimal.
/// Gives nothing when there is no such run, when the run holds anything but
/// ASCII digits, or when its value does not fit.
///
/// The scan that made the work list used numberFromAsciiDigitRun
/// (scanner/file_name_rules.h), which reads only the ASCII digits before the
/// last ".". The two differ on purpose: the scan lists and counts by those
/// digits, while a photo is filed only by a number that is the whole
/// numeric end of its name. "x²5.jpg" gives 5 to the scan but nothing here,
/// so the worker counts it as failed and leaves it where it is.
std::optional<std::int64_t> numberFromUnicodeNumericRun(std::string_view name);

}  // namespace velmora
