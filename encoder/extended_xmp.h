// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

/// The largest XMP packet one standard XMP segment of a JPEG file holds.
inline constexpr std::size_t kStandardXmpLimit = 65504;

/// `jpeg` with the XMP packet `xmp` added as APP1 segments after its
/// leading application segments (nothing for an empty `xmp`). A packet of
/// up to kStandardXmpLimit bytes goes into one standard XMP segment as it
/// is. A larger one is kept whole as Adobe's extended XMP: the packet,
/// without its xpacket wrapper, is split over extended
/// segments named by its MD5 digest, and a small standard packet carries
/// xmpNote:HasExtendedXMP with that digest, so XMP readers join the two.
std::string withXmp(std::string jpeg, std::string_view xmp);

}  // namespace velmora
