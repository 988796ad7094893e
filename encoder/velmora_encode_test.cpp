// Black-box tests of the encoder programs velmora-encode and
// velmora-encode-vips. moskel_test runs them on a sample of every format.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "test_images.h"
#include "test_support.h"

namespace velmora::testkit {
namespace {

namespace fs = std::filesystem;

RunResult encode(const fs::path& source, const fs::path& output,
                 const std::string& quality = "90") {
    return run(ENCODER_PATH,
               {"-s", "format", "jpeg", "-s", "formatOptions", quality, source, "--out", output});
}

TEST(Encoder, QualityDecidesTheSize) {
    TempDir dir;
    writeFile(dir / "photo.jpg", jpegBytes(640, 480, 98));
    ASSERT_EQ(encode(dir / "photo.jpg", dir / "low.jpg", "10").exitCode, 0);
    ASSERT_EQ(encode(dir / "photo.jpg", dir / "high.jpg", "95").exitCode, 0);
    EXPECT_LT(fs::file_size(dir / "low.jpg") * 2, fs::file_size(dir / "high.jpg"));
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
