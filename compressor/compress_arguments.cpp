// SPDX-License-Identifier: GPL-3.0-or-later
#include "compress_arguments.h"

#include <algorithm>
#include <cstdint>

#include "decimal.h"

namespace velmora {

namespace {

int parseClamped(std::string_view text, std::int64_t fallback, std::int64_t low,
                 std::int64_t high) {
    return static_cast<int>(std::clamp(parseDecimalInteger(text).value_or(fallback), low, high));
}

}  // namespace

int parseQuality(std::string_view text) {
    return parseClamped(text, 50, 1, 100);
}

int parseWorkers(std::string_view text) {
    return parseClamped(text, 4, 1, 8);
}

}  // namespace velmora
