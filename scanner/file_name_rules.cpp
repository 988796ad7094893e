// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_name_rules.h"

#include <array>
#include <limits>

namespace velmora {

namespace {

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

}  // namespace

std::optional<std::int64_t> numberFromAsciiDigitRun(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot + 1 == name.size())
        return std::nullopt;

    std::size_t start = dot;
    while (start > 0 && isAsciiDigit(name[start - 1]))
        --start;
    if (start == dot)
        return std::nullopt;

    constexpr std::int64_t max = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (std::size_t i = start; i < dot; ++i) {
        const int digit = name[i] - '0';
        if (value > (max - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

bool hasPhotoExtension(std::string_view name) {
    static constexpr std::array<std::string_view, 7> extensions = {"jpg", "jpeg", "png", "heic",
                                                                   "tif", "tiff", "webp"};
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string_view extension = name.substr(dot + 1);
    if (extension.size() < 3 || extension.size() > 4)
        return false;

    // Folding ASCII letters is the whole Unicode lower-case rule here: the only
    // other character that lower-cases to an ASCII letter is the Kelvin sign
    // (to "k"), which is in no photo extension.
    char lower[4];
    for (std::size_t i = 0; i < extension.size(); ++i)
        lower[i] = asciiLower(extension[i]);
    const std::string_view folded(lower, extension.size());
    for (const std::string_view known : extensions) {
        if (folded == known)
            return true;
    }
    return false;
}

}  // namespace velmora
