// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-encode on JPEG sources already at or below the quality asked for:
// their coefficients are written again as they are, so the output decodes to
// exactly the source's pixels; sources above that quality are re-encoded.
#include <gtest/gtest.h>

#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>

#include "test_jpegs.h"
#include "test_support.h"

namespace velmora::testkit {
namespace {

namespace fs = std::filesystem;

RunResult encode(const fs::path& source, const fs::path& output, int quality) {
    return run(ENCODER_PATH, {"-s", "format", "jpeg", "-s", "formatOptions",
                              std::to_string(quality), source, "--out", output});
}

struct Case {
    const char* name;
    JpegRecipe recipe;
};

JpegRecipe recipe(int width, int height, int quality) {
    JpegRecipe made;
    made.width = width;
    made.height = height;
    made.quality = quality;
    return made;
}

std::vector<Case> belowTargetSources() {
    std::vector<Case> cases = {
        {"q35-420.jpg", recipe(640, 480, 35)},
        {"thumb-q30.jpg", recipe(64, 64, 30)},
        {"q35-422.jpg", recipe(640, 480, 35)},
        {"q35-444.jpg", recipe(640, 480, 35)},
        {"q35-grey.jpg", recipe(640, 480, 35)},
        {"q35-progressive.jpg", recipe(640, 480, 35)},
        {"q35-restarts-odd.jpg", recipe(333, 221, 35)},
        {"q50-optimized.jpg", recipe(320, 240, 50)},
    };
    cases[2].recipe.lumaV = 1;
    cases[3].recipe.lumaH = cases[3].recipe.lumaV = 1;
    cases[4].recipe.components = 1;
    cases[4].recipe.lumaH = cases[4].recipe.lumaV = 1;
    cases[5].recipe.progressive = true;
    cases[6].recipe.restartRows = 2;
    cases[7].recipe.optimizeCoding = true;
    return cases;
}

// At or below quality 50, every subsampling, progressive, with restart
// markers, an odd size, grey, and a source whose tables are Q50's own: the
// output keeps the source's tables, sampling and pixels exactly, in a
// sequential stream no larger than the source.
TEST(LosslessRewrite, BelowTargetSourcesKeepTheirPixels) {
    TempDir dir;
    for (const Case& item : belowTargetSources()) {
        SCOPED_TRACE(item.name);
        const std::string source = makeJpeg(item.recipe);
        ASSERT_FALSE(source.empty());
        writeFile(dir / item.name, source);
        ASSERT_EQ(encode(dir / item.name, dir / "out.jpg", 50).exitCode, 0);
        const std::string output = readFile(dir / "out.jpg");
        const DecodedJpeg before = decodeJpeg(source);
        const DecodedJpeg after = decodeJpeg(output);
        ASSERT_TRUE(before.ok);
        ASSERT_TRUE(after.ok);
        EXPECT_EQ(after.width, before.width);
        EXPECT_EQ(after.height, before.height);
        EXPECT_EQ(after.components, before.components);
        EXPECT_EQ(after.samplingH, before.samplingH);
        EXPECT_EQ(after.samplingV, before.samplingV);
        EXPECT_EQ(after.tables, before.tables);
        EXPECT_FALSE(after.progressive);
        EXPECT_TRUE(after.pixels == before.pixels) << "the pixels changed";
        EXPECT_LE(output.size(), source.size());
        EXPECT_EQ(output.find("\xFF\xDD"), std::string::npos) << "restart interval kept";
    }
}

// Above quality 50, or with one entry of a table finer than Q50's: the
// source is re-encoded with Q50's tables, 4:2:0 for colour.
TEST(LosslessRewrite, SourcesAboveTheTargetAreReencoded) {
    JpegRecipe oneFineEntry = recipe(640, 480, 30);
    oneFineEntry.lumaEntry = 63;
    oneFineEntry.lumaEntryValue = 98;  // Q50 has 99 there
    JpegRecipe grey = recipe(320, 240, 95);
    grey.components = 1;
    grey.lumaH = grey.lumaV = 1;
    const std::vector<Case> cases = {
        {"q95.jpg", recipe(640, 480, 95)},
        {"thumb-q95.jpg", recipe(64, 64, 95)},
        {"q51.jpg", recipe(640, 480, 51)},
        {"one-fine-entry.jpg", oneFineEntry},
        {"grey-q95.jpg", grey},
    };
    TempDir dir;
    for (const Case& item : cases) {
        SCOPED_TRACE(item.name);
        const std::string source = makeJpeg(item.recipe);
        writeFile(dir / item.name, source);
        ASSERT_EQ(encode(dir / item.name, dir / "out.jpg", 50).exitCode, 0);
        const DecodedJpeg before = decodeJpeg(source);
        const DecodedJpeg after = decodeJpeg(readFile(dir / "out.jpg"));
        ASSERT_TRUE(after.ok);
        EXPECT_EQ(after.width, before.width);
        EXPECT_EQ(after.height, before.height);
        ASSERT_EQ(after.tables.size(), before.tables.size());
        EXPECT_NE(after.tables, before.tables);
        EXPECT_EQ(after.tables[0], kAnnexKLuma);
        for (std::size_t c = 1; c < after.tables.size(); ++c)
            EXPECT_EQ(after.tables[c], kAnnexKChroma);
        if (after.components == 3) {
            EXPECT_EQ(after.samplingH, (std::vector<int>{2, 1, 1}));
            EXPECT_EQ(after.samplingV, (std::vector<int>{2, 1, 1}));
        }
        EXPECT_FALSE(after.pixels == before.pixels);
    }
}

// A CMYK source, or colour stored as RGB, is no YCbCr whose tables compare
// with the encoder's: at quality 35 it is re-encoded all the same, as YCbCr
// with Q50's tables.
TEST(LosslessRewrite, CmykAndRgbStreamsAreReencoded) {
    JpegRecipe cmyk = recipe(320, 240, 35);
    cmyk.components = 4;
    cmyk.lumaH = cmyk.lumaV = 1;
    JpegRecipe rgb = recipe(320, 240, 35);
    rgb.storedRgb = true;
    rgb.lumaH = rgb.lumaV = 1;
    TempDir dir;
    for (const Case& item : {Case{"cmyk.jpg", cmyk}, Case{"rgb.jpg", rgb}}) {
        SCOPED_TRACE(item.name);
        const std::string source = makeJpeg(item.recipe);
        ASSERT_FALSE(source.empty());
        ASSERT_EQ(decodeJpeg(source).components, item.recipe.components);
        writeFile(dir / item.name, source);
        ASSERT_EQ(encode(dir / item.name, dir / "out.jpg", 50).exitCode, 0);
        const DecodedJpeg after = decodeJpeg(readFile(dir / "out.jpg"));
        ASSERT_TRUE(after.ok);
        EXPECT_EQ(after.width, 320);
        EXPECT_EQ(after.components, 3);
        EXPECT_EQ(after.tables,
                  (std::vector<QuantTable>{kAnnexKLuma, kAnnexKChroma, kAnnexKChroma}));
    }
}

// The rewrite keeps the metadata the re-encoding keeps (EXIF, XMP, ICC,
// IPTC), in their order, and drops the rest (comments, multi-picture
// indexes, other application markers), as the re-encoding does.
TEST(LosslessRewrite, KeepsTheSameMetadataAsTheReencoding) {
    using namespace std::string_literals;
    const std::pair<int, std::string> exif = {JPEG_APP0 + 1, "Exif\0\0MM\0\x2A\0\0\0\x08\0\0"s};
    const std::pair<int, std::string> xmp = {
        JPEG_APP0 + 1, "http://ns.adobe.com/xap/1.0/\0<x:xmpmeta>rewrite</x:xmpmeta>"s};
    const std::pair<int, std::string> icc = {JPEG_APP0 + 2,
                                             "ICC_PROFILE\0\x01\x01"s + std::string(300, 'p')};
    const std::pair<int, std::string> iptc = {JPEG_APP0 + 13, "Photoshop 3.0\0"s + "8BIM"};
    const std::vector<std::pair<int, std::string>> dropped = {
        {JPEG_COM, "a comment"},
        {JPEG_APP0 + 2, "MPF\0MM\0\x2A"s},
        {JPEG_APP0 + 3, "other"},
    };
    TempDir dir;
    for (const int quality : {35, 95}) {
        SCOPED_TRACE(quality);
        JpegRecipe made = recipe(320, 240, quality);
        made.markers = {exif, dropped[0], xmp, dropped[1], icc, dropped[2], iptc};
        writeFile(dir / "in.jpg", makeJpeg(made));
        ASSERT_EQ(encode(dir / "in.jpg", dir / "out.jpg", 50).exitCode, 0);
        const DecodedJpeg after = decodeJpeg(readFile(dir / "out.jpg"));
        ASSERT_TRUE(after.ok);
        ASSERT_FALSE(after.markers.empty());
        EXPECT_EQ(after.markers.front().first, JPEG_APP0);  // JFIF
        const std::vector<std::pair<int, std::string>> rest(after.markers.begin() + 1,
                                                            after.markers.end());
        EXPECT_EQ(rest, (std::vector<std::pair<int, std::string>>{exif, xmp, icc, iptc}));
    }
}

// A cut or corrupt stream at or below the target cannot be rewritten: it
// goes the way of any damaged stream, which fails and leaves nothing.
TEST(LosslessRewrite, DamagedSourcesFailAsBefore) {
    const std::string source = makeJpeg(recipe(640, 480, 35));
    const std::size_t scan = source.find("\xFF\xDA");
    ASSERT_NE(scan, std::string::npos);
    std::string corrupt = source;
    for (std::size_t at = scan + 400; at < scan + 4000; at += 7)
        corrupt[at] = '\xFF';
    TempDir dir;
    writeFile(dir / "cut.jpg", source.substr(0, source.size() * 2 / 3));
    writeFile(dir / "corrupt.jpg", corrupt);
    for (const char* name : {"cut.jpg", "corrupt.jpg"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(encode(dir / name, dir / "out.jpg", 50).exitCode, 1);
        EXPECT_FALSE(fs::exists(dir / "out.jpg"));
    }
}

}  // namespace
}  // namespace velmora::testkit
