// SPDX-License-Identifier: GPL-3.0-or-later
#include "path_text.h"

#include "work_list.h"

#include <algorithm>

namespace velmora {

namespace {

/// Length of the UTF-8 sequence that `lead` announces, or 0 for a byte that
/// cannot start one.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

void appendHexByte(std::string& out, unsigned char byte) {
    static constexpr char digits[] = "0123456789ABCDEF";
    out += "\\x";
    out += digits[byte >> 4];
    out += digits[byte & 0xF];
}

/// The escape of the line break that starts at `path[at]` and is `length`
/// bytes long.
std::string_view breakEscape(std::string_view path, std::size_t at, std::size_t length) {
    switch (path[at]) {
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\v':
            return "\\v";
        case '\f':
            return "\\f";
    }
    if (length == 2)
        return "\\u0085";
    return (unsigned char)path[at + 2] == 0xA8 ? "\\u2028" : "\\u2029";
}

}  // namespace

bool isListablePath(std::string_view path) {
    bool plain = !path.empty();
    for (const char c : path)
        plain &= c >= 0x20 && c < 0x7F;
    return plain || (isListLine(path) && path.find('\0') == std::string_view::npos);
}

std::string escapedPath(std::string_view path) {
    if (isListablePath(path))
        return std::string(path);
    std::string out;
    out.reserve(path.size() + 16);
    std::size_t at = 0;
    while (at < path.size()) {
        const std::size_t length = sequenceLength((unsigned char)path[at]);
        if (length == 0 || path[at] == '\0' || !isValidUtf8(path.substr(at, length))) {
            appendHexByte(out, (unsigned char)path[at]);
            ++at;
            continue;
        }
        // A CR LF pair is one break to the list reader, but each byte gets its own escape.
        const std::size_t breakLength = std::min(lineBreakLength(path, at), length);
        if (breakLength != 0) {
            out += breakEscape(path, at, breakLength);
        } else {
            out.append(path.substr(at, length));
        }
        at += length;
    }
    return out;
}

}  // namespace velmora
