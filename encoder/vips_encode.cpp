// SPDX-License-Identifier: GPL-3.0-or-later
#include "vips_encode.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include <vips/vips8>

#include "encode_request.h"
#include "extended_xmp.h"

namespace velmora {

namespace {

using vips::VImage;
using vips::VSource;

// Loader operations allowed to touch a file; everything else (SVG, PDF,
// ImageMagick, ...) is refused, which also keeps their attack surface away.
bool isAcceptedLoader(std::string_view loader) {
    constexpr std::array<std::string_view, 5> accepted = {
        "VipsForeignLoadJpegSource", "VipsForeignLoadPngSource", "VipsForeignLoadWebpSource",
        "VipsForeignLoadTiffSource", "VipsForeignLoadHeifSource"};
    for (std::string_view name : accepted) {
        if (loader == name)
            return true;
    }
    return false;
}

VImage toEightBitSrgb(VImage image) {
    const VipsInterpretation kind = image.guess_interpretation();
    if (kind == VIPS_INTERPRETATION_CMYK) {
        image = image.icc_transform(
            "srgb", VImage::option()->set("embedded", true)->set("input_profile", "cmyk"));
    } else if (kind == VIPS_INTERPRETATION_B_W || kind == VIPS_INTERPRETATION_GREY16) {
        image = image.colourspace(VIPS_INTERPRETATION_B_W);
    } else {
        image = image.colourspace(VIPS_INTERPRETATION_sRGB);
    }
    if (image.has_alpha()) {
        image = image.flatten(VImage::option()->set("background", std::vector<double>{255.0}));
    }
    if (image.format() != VIPS_FORMAT_UCHAR)
        image = image.cast(VIPS_FORMAT_UCHAR);
    return image;
}

/// The XMP packet of `image`, taken out of it; empty when it has none.
std::string takeXmp(VImage& image) {
    if (image.get_typeof(VIPS_META_XMP_NAME) == 0)
        return {};
    std::size_t length = 0;
    const void* data = image.get_blob(VIPS_META_XMP_NAME, &length);
    std::string xmp(static_cast<const char*>(data), length);
    image = image.copy();
    image.remove(VIPS_META_XMP_NAME);
    return xmp;
}

}  // namespace

std::optional<std::string> encodeWithVips(const std::filesystem::path& source, int quality) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(source, error))
        return std::nullopt;
    try {
        VSource input = VSource::new_from_file(source.c_str());
        const char* loader = vips_foreign_find_load_source(input.get_source());
        if (!loader || !isAcceptedLoader(loader))
            return std::nullopt;

        VImage image = VImage::new_from_source(input, "",
                                               VImage::option()
                                                   ->set("access", VIPS_ACCESS_SEQUENTIAL)
                                                   ->set("fail_on", VIPS_FAIL_ON_TRUNCATED));
        if (std::int64_t{image.width()} * image.height() > kMaxEncodePixels)
            return std::nullopt;
        if (std::string_view(loader) == "VipsForeignLoadHeifSource") {
            // libheif has already turned the pixels upright by the file's
            // transforms; its EXIF orientation only repeats them.
            image = image.copy();
            image.set("orientation", 1);
        }

        // libvips drops an XMP packet too large for one JPEG segment, so
        // every packet is written by withXmp instead.
        VImage output = toEightBitSrgb(image);
        const std::string xmp = takeXmp(output);
        void* buffer = nullptr;
        std::size_t size = 0;
        output.write_to_buffer(".jpg", &buffer, &size,
                               VImage::option()->set("Q", quality)->set("optimize_coding", true));
        std::string jpeg(static_cast<const char*>(buffer), size);
        g_free(buffer);
        return withXmp(std::move(jpeg), xmp);
    } catch (const vips::VError&) {
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace velmora
