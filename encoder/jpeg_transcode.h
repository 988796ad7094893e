#pragma once

#include <string>
#include <string_view>

namespace velmora {

/// How a JPEG-to-JPEG re-encoding ended.
enum class JpegTranscode {
    Encoded,           ///< the new stream is complete
    NeedsFullDecoder,  ///< a colour model this path does not handle (CMYK, YCCK)
    Failed,            ///< damaged, oversized or unreadable; nothing usable
};

/// Re-encodes the JPEG stream `source` at `quality` (1 to 100) with libjpeg
/// into `jpeg`, keeping the pixel size and the source's EXIF (orientation
/// included), XMP, IPTC and ICC profile markers as they are. The pixels go
/// through RGB, so the coefficients are those libvips writes for the same
/// source; the Huffman tables are made for the image. Chroma is subsampled
/// 4:2:0 below quality 90 and kept whole from 90 up. Decoding runs on a
/// second thread, overlapping the encoding. A stream with damaged image data
/// (truncated, corrupt entropy data) or with more than kMaxEncodePixels
/// pixels fails. `jpeg` is complete only on Encoded.
JpegTranscode transcodeJpeg(std::string_view source, int quality, std::string& jpeg);

}  // namespace velmora
