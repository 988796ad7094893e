// SPDX-License-Identifier: GPL-3.0-or-later
#include "work_list.h"

#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "job_file.h"

namespace velmora {

bool isValidUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        // Plain ASCII, the bulk of a work list, eight bytes at a time.
        std::uint64_t eight;
        if (end - p >= 8 && (std::memcpy(&eight, p, 8), (eight & 0x8080808080808080u) == 0)) {
            p += 8;
            continue;
        }
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        std::size_t length;
        unsigned char low = 0x80, high = 0xBF;  // allowed range of the first continuation byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;  // overlong
            if (lead == 0xED)
                high = 0x9F;  // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;  // overlong
            if (lead == 0xF4)
                high = 0x8F;  // above U+10FFFF
        } else {
            return false;
        }
        if (static_cast<std::size_t>(end - p) < length)
            return false;
        if (p[1] < low || p[1] > high)
            return false;
        for (std::size_t i = 2; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
        }
        p += length;
    }
    return true;
}

std::size_t lineBreakLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
    };
    switch (byte(at)) {
        case '\n':
        case '\v':
        case '\f':
            return 1;
        case '\r':
            return byte(at + 1) == '\n' ? 2 : 1;
        case 0xC2:  // U+0085 NEXT LINE
            return byte(at + 1) == 0x85 ? 2 : 0;
        case 0xE2:  // U+2028 LINE SEPARATOR, U+2029 PARAGRAPH SEPARATOR
            return byte(at + 1) == 0x80 && (byte(at + 2) == 0xA8 || byte(at + 2) == 0xA9) ? 3 : 0;
        default:
            return 0;
    }
}

bool isListLine(std::string_view text) {
    if (text.empty() || !isValidUtf8(text))
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (lineBreakLength(text, i) != 0)
            return false;
    }
    return true;
}

std::vector<std::string> splitWorkList(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t lineStart = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        // Only these bytes can begin a line break; most bytes are none of them.
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool mayBreak = (c >= '\n' && c <= '\r') || c == 0xC2 || c == 0xE2;
        const std::size_t breakLength = mayBreak ? lineBreakLength(text, i) : 0;
        if (breakLength == 0) {
            ++i;
            continue;
        }
        if (i > lineStart)
            lines.emplace_back(text.substr(lineStart, i - lineStart));
        i += breakLength;
        lineStart = i;
    }
    if (text.size() > lineStart)
        lines.emplace_back(text.substr(lineStart));
    return lines;
}

std::optional<std::vector<std::string>> readWorkList(const std::filesystem::path& file) {
    const UniqueFd fd = openJobFileForReading(file);
    if (!fd)
        return std::nullopt;
    std::string text;
    char buffer[1 << 16];
    ssize_t got;
    while ((got = ::read(fd.get(), buffer, sizeof buffer)) > 0)
        text.append(buffer, std::size_t(got));
    if (got < 0 || !isValidUtf8(text))
        return std::nullopt;
    return splitWorkList(text);
}

}  // namespace velmora
