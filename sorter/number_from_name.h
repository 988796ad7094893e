#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace velmora {

/// The number at the end of a UTF-8 file name: the last extension is
/// dropped, then the run of Unicode numeric characters (Numeric_Type other
/// than None: digits of any script, superscripts, fractions, roman
/// numerals...) that ends the rest is read as a signed 64-bit decimal.
/// Gives nothing when there is no such run, when the run holds anything but
/// ASCII digits, or when its value does not fit.
std::optional<std::int64_t> numberFromName(std::string_view name);

}  // namespace velmora
