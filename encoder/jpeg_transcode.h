// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace velmora {

/// How a JPEG-to-JPEG re-encoding ended.
enum class JpegTranscode {
    Encoded,           ///< the new stream is complete
    Rewritten,         ///< complete, from the source's own coefficients: the same pixels
    NeedsFullDecoder,  ///< a colour model this path does not handle (CMYK, YCCK)
    Failed,            ///< damaged, oversized or unreadable; nothing usable
};

/// What becomes of a source already at or below the quality asked for.
enum class BelowTarget {
    Rewrite,     ///< its coefficients are written again as they are
    Requantize,  ///< re-encoded as any other: the lossy path, for comparisons
};

/// Re-encodes the JPEG stream `source` at `quality` (1 to 100) with libjpeg
/// into `jpeg`, keeping the pixel size and the source's EXIF (orientation
/// included), XMP, IPTC and ICC profile markers as they are. The pixels go
/// through RGB, so the coefficients are those libvips writes for the same
/// source; the Huffman tables are made for the image. Chroma is subsampled
/// 4:2:0 below quality 90 and kept whole from 90 up. Decoding runs on a
/// second thread, overlapping the encoding. A stream with damaged image data
/// (truncated, corrupt entropy data) or with more than kMaxEncodePixels
/// pixels fails.
///
/// A YCbCr or grey source whose every quantization table is at least as
/// coarse, entry by entry, as the table libjpeg makes at `quality` for that
/// component's kind (luma, chroma) is already at or below that quality: it
/// is not quantized again but Rewritten, its coefficients, chroma layout and
/// the same metadata as above put in a sequential stream with Huffman tables
/// made for them, so that it decodes to exactly the source's pixels. A
/// source that cannot be rewritten so (damaged image data) is re-encoded as
/// any other, and so is every source with `below` Requantize. `jpeg` is
/// complete only on Encoded and Rewritten.
JpegTranscode transcodeJpeg(std::string_view source, int quality, std::string& jpeg,
                            BelowTarget below = BelowTarget::Rewrite);

}  // namespace velmora
