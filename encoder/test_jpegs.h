// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// JPEG streams made and taken apart with libjpeg itself, for tests that
// check quantization tables, chroma layouts and decoded pixels exactly.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::testkit {

/// One coefficient quantization table, in natural (row by row) order.
using QuantTable = std::array<std::uint16_t, 64>;

/// The example luminance and chrominance tables of the JPEG standard's
/// Annex K: libjpeg's tables at quality 50.
extern const QuantTable kAnnexKLuma;
extern const QuantTable kAnnexKChroma;

/// How a test JPEG is made.
struct JpegRecipe {
    int width = 640;
    int height = 480;
    int components = 3;      ///< 3: YCbCr from RGB, 1: grey, 4: CMYK
    bool storedRgb = false;  ///< 3 components stored as RGB, not YCbCr
    int quality = 90;
    int lumaH = 2;  ///< the luma sampling factors: 2x2 is 4:2:0, 2x1 4:2:2, 1x1 4:4:4
    int lumaV = 2;
    bool progressive = false;
    bool optimizeCoding = false;
    int restartRows = 0;  ///< restart markers every so many MCU rows; 0: none
    /// Replaces one entry of the luma table after the quality is set:
    /// index in natural order, and its value; index -1 changes nothing.
    int lumaEntry = -1;
    int lumaEntryValue = 1;
    /// Markers written after the header, each its code and its bytes.
    std::vector<std::pair<int, std::string>> markers;
};

/// A JPEG stream of colour ramps under fine grain, the same for the same
/// recipe.
std::string makeJpeg(const JpegRecipe& recipe);

/// What libjpeg decodes a stream to.
struct DecodedJpeg {
    bool ok = false;  ///< decoded without error or damage warning
    int width = 0;
    int height = 0;
    int components = 0;
    bool progressive = false;
    std::vector<int> samplingH;  ///< each component's sampling factors
    std::vector<int> samplingV;
    std::vector<QuantTable> tables;                    ///< each component's quantization table
    std::vector<std::pair<int, std::string>> markers;  ///< every APPn and COM marker
    std::string pixels;                                ///< RGB, grey or CMYK rows, top first
};

DecodedJpeg decodeJpeg(const std::string& jpeg);

}  // namespace velmora::testkit
