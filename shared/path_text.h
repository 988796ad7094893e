// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace velmora {

/// True when `path` can stand as one line of a work list: valid UTF-8 without
/// any line break or NUL byte (the rule of `isListLine`, with a quick pass for
/// plain ASCII).
bool isListablePath(std::string_view path);

/// `path` as a text that can stand as one line of a list: the path itself
/// when it can, else (not UTF-8, or holding a line break or a NUL) an escaped
/// form. Well-formed UTF-8 is kept; a NUL and each byte outside it become "\xHH" (upper-case hex),
/// and each line break becomes an escape: "\n", "\r", "\v", "\f", "\u0085", "\u2028", "\u2029".
/// Backslashes already in the path are kept as they are.
std::string escapedPath(std::string_view path);

}  // namespace velmora
