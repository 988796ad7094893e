// SPDX-License-Identifier: GPL-3.0-or-later
// Black-box tests of the encoder programs velmora-encode and
// velmora-encode-vips. moskel_test runs them on a sample of every format.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "test_images.h"
#include "test_support.h"

namespace velmora::testkit {
namespace {

namespace fs = std::filesystem;

using vips::VImage;

RunResult encode(const fs::path& source, const fs::path& output,
                 const std::string& quality = "90") {
    return run(ENCODER_PATH,
               {"-s", "format", "jpeg", "-s", "formatOptions", quality, source, "--out", output});
}

// Colour ramps under fine grain: content on which the entropy coding has
// real work, as on a camera photo.
VImage grainyPhoto(int width, int height, int bands) {
    startVips();
    const VImage xy = VImage::xyz(width, height);
    const VImage ramps = VImage::bandjoin({xy[0] * 0.3 + 40, xy[1] * 0.4 + 30, xy[0] * 0.2 + 120});
    const VImage grain = VImage::gaussnoise(width, height, VImage::option()->set("sigma", 6.0));
    const VImage colour =
        (ramps + grain)
            .cast(VIPS_FORMAT_UCHAR)
            .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
    return bands == 1 ? colour.colourspace(VIPS_INTERPRETATION_B_W) : colour;
}

std::string saved(const VImage& image, const char* format, vips::VOption* options) {
    void* buffer = nullptr;
    std::size_t size = 0;
    image.write_to_buffer(format, &buffer, &size, options);
    std::string bytes(static_cast<const char*>(buffer), size);
    g_free(buffer);
    return bytes;
}

// The largest difference of any sample between two encoded images.
double largestDifference(const std::string& a, const std::string& b) {
    const VImage first = VImage::new_from_buffer(a, "");
    const VImage second = VImage::new_from_buffer(b, "");
    return (first.cast(VIPS_FORMAT_INT) - second).abs().max();
}

TEST(Encoder, QualityDecidesTheSize) {
    TempDir dir;
    writeFile(dir / "photo.jpg", jpegBytes(640, 480, 98));
    ASSERT_EQ(encode(dir / "photo.jpg", dir / "low.jpg", "10").exitCode, 0);
    ASSERT_EQ(encode(dir / "photo.jpg", dir / "high.jpg", "95").exitCode, 0);
    EXPECT_LT(fs::file_size(dir / "low.jpg") * 2, fs::file_size(dir / "high.jpg"));
}

// Huffman tables made for each image change no coefficient: the output
// decodes to exactly the pixels of libvips's encoding of the same source
// with libjpeg's default tables, in fewer bytes. Both encoder paths, both
// chroma layouts of the output and of a JPEG source, grey.
TEST(Encoder, MadeTablesKeepThePixelsInFewerBytes) {
    const VImage colour = grainyPhoto(640, 480, 3);
    const VImage grey = grainyPhoto(640, 480, 1);
    struct Row {
        const char* name;
        std::string bytes;
        int quality;
    };
    const std::vector<Row> rows = {
        {"whole-chroma.jpg", saved(colour, ".jpg", VImage::option()->set("Q", 95)), 50},
        {"half-chroma.jpg", saved(colour, ".jpg", VImage::option()->set("Q", 80)), 50},
        {"kept-chroma.jpg", saved(colour, ".jpg", VImage::option()->set("Q", 95)), 92},
        {"grey.jpg", saved(grey, ".jpg", VImage::option()->set("Q", 95)), 50},
        {"lossless.png", saved(colour, ".png", VImage::option()), 50},
    };
    TempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeFile(dir / row.name, row.bytes);
        ASSERT_EQ(encode(dir / row.name, dir / "out.jpg", std::to_string(row.quality)).exitCode, 0);
        const std::string output = readFile(dir / "out.jpg");
        const std::string defaultTables = saved(VImage::new_from_buffer(row.bytes, ""), ".jpg",
                                                VImage::option()->set("Q", row.quality));
        EXPECT_EQ(largestDifference(output, defaultTables), 0);
        EXPECT_LT(output.size() * 100, defaultTables.size() * 95)
            << output.size() << " bytes against " << defaultTables.size();
    }
}

TEST(Encoder, FailsWithoutLeavingAnything) {
    TempDir dir;
    const std::string photo = jpegBytes(320, 240);
    writeFile(dir / "in" / "text.jpg", "not a photo at all");
    writeFile(dir / "in" / "cut.jpg", photo.substr(0, photo.size() * 2 / 3));
    writeFile(dir / "in" / "vector.png", "<svg xmlns='http://www.w3.org/2000/svg'/>");
    // A 30000 x 20000 frame header over tiny data: a decompression bomb.
    std::string bomb = jpegBytes(16, 16);
    const std::size_t frame = bomb.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    bomb.replace(frame + 5, 4, std::string("\x4E\x20\x75\x30", 4));
    writeFile(dir / "in" / "bomb.jpg", bomb);
    ASSERT_EQ(::mkfifo((dir / "in" / "pipe.jpg").c_str(), 0644), 0);  // must not block
    fs::create_directories(dir / "out");

    for (const char* name :
         {"text.jpg", "cut.jpg", "vector.png", "bomb.jpg", "pipe.jpg", "missing.jpg"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(encode(dir / "in" / name, dir / "out" / name).exitCode, 1);
    }
    EXPECT_EQ(encode(dir / "in" / "cut.jpg", dir / "no-folder" / "x.jpg").exitCode, 1);
    EXPECT_TRUE(listTree(dir / "out").empty());
}

TEST(Encoder, AcceptsOnlyTheSipsArgumentList) {
    TempDir dir;
    writeFile(dir / "photo.jpg", jpegBytes(64, 48));
    const std::string in = dir / "photo.jpg";
    const std::string out = dir / "out.jpg";
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"-s", "format", "jpeg", "-s", "formatOptions", "50", in, "--out"},
        {"-s", "format", "png", "-s", "formatOptions", "50", in, "--out", out},
        {"-s", "format", "jpeg", "-s", "formatOptions", "0", in, "--out", out},
        {"-s", "format", "jpeg", "-s", "formatOptions", "101", in, "--out", out},
        {"-s", "format", "jpeg", "-s", "formatOptions", "50", in, "-o", out},
    };
    for (const auto& args : wrong) {
        EXPECT_EQ(run(ENCODER_PATH, args).exitCode, 2);
        EXPECT_EQ(run(VIPS_ENCODER_PATH, args).exitCode, 2);
    }
    EXPECT_FALSE(fs::exists(out));
}

}  // namespace
}  // namespace velmora::testkit
