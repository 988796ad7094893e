// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace velmora {

/// One encoder job: re-encode `source` as JPEG at `quality` into `output`.
struct EncodeRequest {
    int quality = 0;
    std::filesystem::path source;
    std::filesystem::path output;
};

/// Larger images are refused so that a decompression bomb cannot exhaust
/// the machine; such a file fails and its caller keeps the original.
inline constexpr std::int64_t kMaxEncodePixels = 500'000'000;

/// Exit statuses of the encoder programs.
enum class EncodeExit : int {
    Encoded = 0,  ///< a complete JPEG is at the output path
    Failed = 1,   ///< nothing usable was written
    Usage = 2,    ///< the arguments are not the accepted list
};

/// Reads the encoder's argument list (without the program name), which must
/// be exactly `-s format jpeg -s formatOptions Q SOURCE --out OUTPUT` with Q
/// a decimal integer from 1 to 100. Gives nothing for any other list.
std::optional<EncodeRequest> parseEncodeArguments(std::span<const std::string> args);

}  // namespace velmora
