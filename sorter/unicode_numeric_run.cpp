// SPDX-License-Identifier: GPL-3.0-or-later
#include "unicode_numeric_run.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace velmora {

namespace {

bool isNumeric(UChar32 c) {
    return c >= 0 && u_getIntPropertyValue(c, UCHAR_NUMERIC_TYPE) != U_NT_NONE;
}

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

/// Where the run of numeric characters that ends `text` begins.
std::size_t numericRunStart(std::string_view text) {
    auto end = static_cast<std::int32_t>(text.size());
    // ASCII digits are numeric and every other ASCII character is not, so
    // the character database is needed only where the run meets non-ASCII.
    while (end > 0 && isAsciiDigit(text[end - 1]))
        --end;
    if (end == 0 || static_cast<unsigned char>(text[end - 1]) < 0x80)
        return static_cast<std::size_t>(end);
    while (end > 0) {
        std::int32_t before = end;
        UChar32 c;
        U8_PREV(text.data(), 0, before, c);
        if (!isNumeric(c))
            break;
        end = before;
    }
    return static_cast<std::size_t>(end);
}

std::optional<std::int64_t> readAsciiDigits(std::string_view run) {
    const bool ascii = std::all_of(run.begin(), run.end(), isAsciiDigit);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(run.data(), run.data() + run.size(), value);
    if (!ascii || error != std::errc{} || end != run.data() + run.size())
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::int64_t> numberFromUnicodeNumericRun(std::string_view name) {
    if (const auto dot = name.rfind('.'); dot != std::string_view::npos) {
        name = name.substr(0, dot);
    }
    if (name.size() > INT32_MAX)
        return std::nullopt;  // no file name is that long
    const std::size_t runStart = numericRunStart(name);
    if (runStart == name.size())
        return std::nullopt;
    return readAsciiDigits(name.substr(runStart));
}

}  // namespace velmora
