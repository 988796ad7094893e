// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace velmora {

/// QUALITY: a decimal integer, 50 when the text is not one, clamped to 1..100.
int parseQuality(std::string_view text);

/// WORKERS: a decimal integer, 4 when the text is not one, clamped to 1..8.
int parseWorkers(std::string_view text);

}  // namespace velmora
