// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_images.h"

#include <cmath>
#include <mutex>

#include "test_support.h"

namespace velmora::testkit {

namespace fs = std::filesystem;
using vips::VImage;

namespace {

constexpr int kWidth = 96;
constexpr int kHeight = 64;

// Smooth colour ramps, so that a re-encoding keeps the means of each half.
VImage picture() {
    const VImage xy = VImage::xyz(kWidth, kHeight);
    const VImage red = xy[0] + 60;
    const VImage green = xy[1] * 2 + 40;
    const VImage blue = VImage::black(kWidth, kHeight) + 150;
    return VImage::bandjoin({red, green, blue})
        .cast(VIPS_FORMAT_UCHAR)
        .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

// Alpha 0 on the left half, 255 on the right.
VImage withAlpha(const VImage& image) {
    const VImage alpha = (VImage::xyz(kWidth, kHeight)[0] >= kWidth / 2) * 255;
    return image.bandjoin(alpha.cast(VIPS_FORMAT_UCHAR));
}

std::vector<double> halfMeans(const VImage& image, bool left) {
    const int half = image.width() / 2;
    const VImage part = image.crop(left ? 0 : half, 0, half, image.height());
    std::vector<double> means;
    for (int band = 0; band < part.bands(); ++band)
        means.push_back(part[band].avg());
    return means;
}

SamplePhoto describe(const std::string& name, const VImage& shown) {
    SamplePhoto sample;
    sample.name = name;
    sample.width = shown.width();
    sample.height = shown.height();
    sample.bands = shown.bands();
    sample.leftMean = halfMeans(shown, true);
    sample.rightMean = halfMeans(shown, false);
    return sample;
}

std::string blob(const VImage& image, const char* field) {
    std::size_t size = 0;
    const void* data = image.get_blob(field, &size);
    return std::string(static_cast<const char*>(data), size);
}

VImage withOrientation(const VImage& image, int orientation) {
    VImage copy = image.copy();
    copy.set("orientation", orientation);
    return copy;
}

// The half of an alpha picture that is transparent turns white.
SamplePhoto flattened(const std::string& name) {
    SamplePhoto sample = describe(name, picture());
    sample.leftMean = {255, 255, 255};
    return sample;
}

}  // namespace

void startVips() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (VIPS_INIT("velmora-tests") != 0)
            vips_error_exit(nullptr);
    });
}

std::vector<SamplePhoto> writeSamplePhotos(const fs::path& folder) {
    startVips();
    fs::create_directories(folder);
    const VImage photo = picture();
    std::vector<SamplePhoto> samples;

    withAlpha(photo).pngsave((folder / "alpha.png").c_str());
    samples.push_back(flattened("alpha.png"));

    withAlpha(photo).pngsave((folder / "palette.png").c_str(),
                             VImage::option()->set("palette", true));
    samples.push_back(flattened("palette.png"));
    samples.back().tolerance = 10;

    withOrientation((photo.cast(VIPS_FORMAT_USHORT) * 257)
                        .cast(VIPS_FORMAT_USHORT)
                        .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_RGB16)),
                    8)
        .tiffsave((folder / "deep.tif").c_str());
    samples.push_back(describe("deep.tif", photo));
    samples.back().orientation = 8;

    VImage pages = VImage::arrayjoin({photo, photo.invert()}, VImage::option()->set("across", 1));
    pages.set("page-height", kHeight);
    pages.tiffsave((folder / "pages.tiff").c_str());
    samples.push_back(describe("pages.tiff", photo));

    withAlpha(photo).webpsave((folder / "alpha.webp").c_str(),
                              VImage::option()->set("lossless", true));
    samples.push_back(flattened("alpha.webp"));

#if !defined(__SANITIZE_THREAD__)
    // libheif's encoder threads share strings through the uninstrumented C++
    // library, which ThreadSanitizer reports as races; other builds cover HEIC.
    photo.heifsave((folder / "phone.heic").c_str(), VImage::option()->set("Q", 90));
    samples.push_back(describe("phone.heic", photo));
    samples.back().tolerance = 8;
#endif

    VImage cmyk =
        photo.icc_transform("cmyk", VImage::option()->set("input_profile", "srgb")).copy();
    cmyk.remove("icc-profile-data");
    cmyk.jpegsave((folder / "print.jpg").c_str(), VImage::option()->set("Q", 95));
    samples.push_back(describe("print.jpg", photo));
    samples.back().tolerance = 20;

    const VImage grey = photo.colourspace(VIPS_INTERPRETATION_B_W);
    grey.jpegsave((folder / "grey.jpeg").c_str(), VImage::option()->set("Q", 95));
    samples.push_back(describe("grey.jpeg", grey));

    const VImage wide = withOrientation(
        photo.icc_transform("p3", VImage::option()->set("input_profile", "srgb")), 6);
    const std::string xmp = "<x:xmpmeta xmlns:x='adobe:ns:meta/'>velmora test</x:xmpmeta>";
    vips_image_set_blob_copy(wide.get_image(), "xmp-data", xmp.data(), xmp.size());
    wide.jpegsave((folder / "IMG_0042.JPG").c_str(), VImage::option()->set("Q", 95));
    samples.push_back(describe("IMG_0042.JPG", wide));
    samples.back().orientation = 6;
    samples.back().icc = blob(wide, "icc-profile-data");
    samples.back().xmp = xmp;
    return samples;
}

std::string jpegBytes(int width, int height, int quality) {
    startVips();
    void* buffer = nullptr;
    std::size_t size = 0;
    picture()
        .resize(double(width) / kWidth, VImage::option()->set("vscale", double(height) / kHeight))
        .write_to_buffer(".jpg", &buffer, &size, VImage::option()->set("Q", quality));
    std::string bytes(static_cast<const char*>(buffer), size);
    g_free(buffer);
    return bytes;
}

std::string outputProblem(const fs::path& output, const SamplePhoto& sample) {
    startVips();
    if (!readFile(output).starts_with("\xFF\xD8\xFF"))
        return "not JPEG data";
    try {
        const VImage image = VImage::new_from_file(output.c_str());
        if (image.get_string("vips-loader") != std::string("jpegload"))
            return "not a JPEG file";
        if (image.width() != sample.width || image.height() != sample.height ||
            image.bands() != sample.bands)
            return "size or bands";
        const int orientation = image.get_typeof("orientation") ? image.get_int("orientation") : 1;
        if (orientation != sample.orientation)
            return "orientation " + std::to_string(orientation);
        if (!sample.icc.empty() && (!image.get_typeof("icc-profile-data") ||
                                    blob(image, "icc-profile-data") != sample.icc))
            return "ICC profile";
        if (!sample.xmp.empty() &&
            (!image.get_typeof("xmp-data") || blob(image, "xmp-data") != sample.xmp))
            return "XMP";
        const auto left = halfMeans(image, true);
        const auto right = halfMeans(image, false);
        for (int band = 0; band < sample.bands; ++band) {
            if (std::abs(left[band] - sample.leftMean[band]) > sample.tolerance ||
                std::abs(right[band] - sample.rightMean[band]) > sample.tolerance)
                return "pixels of band " + std::to_string(band);
        }
        return {};
    } catch (const vips::VError& error) {
        return error.what();
    }
}

}  // namespace velmora::testkit
