// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace velmora {

/// Decodes `source` with libvips and encodes it as JPEG at `quality`
/// (1 to 100), with Huffman tables made for the image. Takes only JPEG, PNG,
/// WebP, TIFF (its first page) and HEIF content in a regular file; anything
/// else, a damaged or truncated file, and an image of more than
/// kMaxEncodePixels pixels fail. Alpha is flattened onto white, CMYK goes
/// through its ICC profile (or a generic CMYK one) to sRGB, and deeper
/// samples come down to 8 bits. EXIF (orientation included), XMP (as
/// extended XMP when it is too large for one segment, see withXmp), IPTC and
/// ICC profile are kept; HEIF pixels come upright from libheif, so their
/// orientation is reset to 1. Needs libvips started (VIPS_INIT).
std::optional<std::string> encodeWithVips(const std::filesystem::path& source, int quality);

}  // namespace velmora
