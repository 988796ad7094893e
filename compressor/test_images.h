// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Sample photos for the compressor tests, made with libvips, and the checks
// that an output made from them is right.

#include <filesystem>
#include <string>
#include <vector>

#include <vips/vips8>

namespace velmora::testkit {

/// Starts libvips once per test program.
void startVips();

/// What a sample's re-encoded output must show.
struct SamplePhoto {
    std::string name;  ///< file name in the sample folder
    int width = 0;     ///< pixel size the output keeps
    int height = 0;
    int orientation = 1;            ///< EXIF orientation the output carries
    int bands = 3;                  ///< 3 for colour, 1 for grey
    std::string icc;                ///< ICC profile the output keeps; empty: not checked
    std::string xmp;                ///< XMP packet the output keeps; empty: not checked
    std::vector<double> leftMean;   ///< per-band mean of the output's left half
    std::vector<double> rightMean;  ///< per-band mean of the output's right half
    double tolerance = 6;           ///< allowed distance of each mean
};

/// Writes one sample of every kind the encoder takes into `folder`: PNG with
/// alpha, palette PNG with transparency, 16-bit TIFF with an orientation,
/// two-page TIFF, WebP with alpha, HEIC, CMYK JPEG without profile, grey
/// JPEG, and a JPEG with EXIF orientation, ICC profile and XMP.
std::vector<SamplePhoto> writeSamplePhotos(const std::filesystem::path& folder);

/// A plain JPEG photo of the given size, as file bytes.
std::string jpegBytes(int width, int height, int quality = 90);

/// Empty when `output` is a JPEG file showing `sample`, else what is wrong.
std::string outputProblem(const std::filesystem::path& output, const SamplePhoto& sample);

}  // namespace velmora::testkit
