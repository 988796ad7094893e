// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

/// True when `text` is well-formed UTF-8: no stray or missing continuation
/// bytes, no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);

/// Length in bytes of the line break that starts at `text[at]`, or 0 when
/// none does. Line breaks are LF, VT, FF, CR, U+0085, U+2028 and U+2029;
/// CR followed by LF is one break of length 2.
std::size_t lineBreakLength(std::string_view text, std::size_t at);

/// True when `text` can stand as one line of a work list: valid UTF-8,
/// not empty, and without any line break.
bool isListLine(std::string_view text);

/// Splits UTF-8 `text` at every line break. Empty lines are dropped and
/// nothing else is removed: blanks at either end stay part of the line.
std::vector<std::string> splitWorkList(std::string_view text);

/// Reads the work list at `file` whole and splits it into paths.
/// Gives nothing when the file cannot be read, is not a regular file (a
/// FIFO there does not hold the reader up) or is not valid UTF-8.
std::optional<std::vector<std::string>> readWorkList(const std::filesystem::path& file);

}  // namespace velmora
