// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/// Reads `text` as an optional "+" or "-" followed by one or more ASCII
/// digits and nothing else (no blanks). Gives nothing for any other text and
/// for values outside the signed 64-bit range.
std::optional<std::int64_t> parseDecimalInteger(std::string_view text);

/// The shortest decimal text that reads back as exactly `seconds`, always
/// with a "." and at least one digit after it and never in exponent form:
/// 0.001, 2.0, 37.52901005744934.
std::string formatSeconds(double seconds);

}  // namespace velmora
