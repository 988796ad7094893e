// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace velmora {

/// True when `bytes` start like a JPEG stream (FF D8 FF).
inline bool looksLikeJpeg(std::string_view bytes) {
    return bytes.starts_with(std::string_view("\xFF\xD8\xFF", 3));
}

}  // namespace velmora
