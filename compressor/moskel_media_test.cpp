// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real compress scan and Moskel, with the real encoder, on real file
// systems that the tests mount: cards and drives, full disks, failing media.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "mounted_medium.h"
#include "test_images.h"
#include "test_support.h"
#include "tree_census.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::contentCounts;
using testkit::leftovers;
using testkit::Medium;
using testkit::MountedMedium;
using testkit::readFile;
using testkit::splitText;
using Names = std::vector<std::string>;
using Tree = std::map<std::string, std::string>;

#define SKIP_UNLESS_MOUNTED(medium)            \
    do {                                       \
        if (!(medium).mounted())               \
            GTEST_SKIP() << (medium).whyNot(); \
    } while (false)

/// Camera JPEGs of a few sizes and qualities, in camera-card folders.
Tree cameraJpegs(int count, std::uint32_t seed) {
    testkit::startVips();
    std::mt19937 random(seed);
    Tree tree;
    for (int i = 1; i <= count; ++i) {
        const int width = 64 + static_cast<int>(random() % 400);
        const int height = 48 + static_cast<int>(random() % 300);
        const std::string folder = i % 3 == 0 ? "DCIM/101CANON/" : "DCIM/100CANON/";
        tree[folder + "IMG_" + std::to_string(1000 + i) + ".JPG"] =
            testkit::jpegBytes(width, height, 92);
    }
    return tree;
}

/// A compress of the photo folder `source` at quality 50, with its job folder
/// in a temporary folder.
struct Compress {
    fs::path source;
    testkit::TempDir jobRoot{};
    fs::path tmp = jobRoot / "job";

    int run(int workers = 2) const {
        const auto scan = testkit::run(COMPRESS_SCAN_PATH, {source, tmp});
        if (scan.exitCode != 0)
            return 100 + scan.exitCode;
        return testkit::run(MOSKEL_PATH, {source, tmp, "50", std::to_string(workers)}).exitCode;
    }
    fs::path outputFolder() const { return source / "COMPRESSED_50"; }
    /// The reason codes of failures.txt, one per line.
    Names failureCodes() const {
        Names codes;
        for (const std::string& line : splitText(readFile(tmp / "failures.txt"))) {
            const auto words = line.rfind('\t');
            const auto code = line.rfind('\t', words - 1);
            codes.push_back(line.substr(code + 1, words - code - 1));
        }
        return codes;
    }
};

bool isWholeJpeg(const std::string& bytes) {
    return bytes.size() > 4 && bytes.compare(0, 2, "\xff\xd8") == 0 &&
           bytes.compare(bytes.size() - 2, 2, "\xff\xd9") == 0;
}

/// The output files below `folder` that are not whole JPEGs.
Names brokenOutputs(const fs::path& folder) {
    Names broken;
    if (!fs::exists(folder))
        return broken;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file() && !isWholeJpeg(readFile(entry.path())))
            broken.push_back(fs::relative(entry.path(), folder));
    }
    return broken;
}

/// True when every source photo of `tree` is below `root` unchanged.
::testing::AssertionResult sourcesIntact(const fs::path& root, const Tree& tree) {
    for (const auto& [path, content] : tree) {
        if (!fs::exists(root / path) || readFile(root / path) != content)
            return ::testing::AssertionFailure() << path << " changed or gone";
    }
    return ::testing::AssertionSuccess();
}

std::size_t filesBelow(const fs::path& folder) {
    std::size_t count = 0;
    if (fs::exists(folder)) {
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            count += entry.is_regular_file();
    }
    return count;
}

class EveryMedium : public ::testing::TestWithParam<Medium> {};

// On every medium, each photo gets one whole output that keeps its source's
// modification time, the sources stay as they were, and nothing of the run
// is left behind.
TEST_P(EveryMedium, EveryPhotoGetsOneWholeOutputWithItsTime) {
    const MountedMedium card(GetParam(), GetParam() == Medium::xfs     ? 320
                                         : GetParam() == Medium::btrfs ? 128
                                                                       : 64);
    SKIP_UNLESS_MOUNTED(card);
    const Tree tree = cameraJpegs(12, 1);
    testkit::writeTree(card.path(), tree);
    testkit::setTimesBelow(card.path(), testkit::kShotAt);
    const Compress compress{card.path()};
    ASSERT_EQ(compress.run(), 0);
    EXPECT_EQ(readFile(compress.tmp / "failures.txt"), "");
    EXPECT_EQ(filesBelow(compress.outputFolder()), tree.size());
    EXPECT_EQ(brokenOutputs(compress.outputFolder()), Names{});
    EXPECT_TRUE(sourcesIntact(card.path(), tree));
    EXPECT_EQ(leftovers(card.path()), Names{});
    for (const std::string& line : splitText(readFile(compress.tmp / "outputs.txt"))) {
        const Names fields = splitText(line, '\t');
        ASSERT_EQ(fields.size(), 3u) << line;
        const auto source = testkit::statOf(fields[0]).st_mtim.tv_sec;
        const auto output = testkit::statOf(fields[2]).st_mtim.tv_sec;
        EXPECT_LE(std::abs(source - output), 2) << line;  // FAT keeps two-second times
    }
    EXPECT_EQ(testkit::filesNotFrom(card.path(), testkit::kShotAt), Names{});
}

INSTANTIATE_TEST_SUITE_P(Media, EveryMedium, ::testing::ValuesIn(testkit::allMedia()),
                         [](const auto& info) {
                             std::string name(testkit::mediumName(info.param));
                             std::erase(name, '-');
                             return name;
                         });

// A disk that fills: the photos that do not fit fail with "disk-full", no
// output is cut off, and the sources stay.
TEST(MoskelMedia, FullDiskFailsPhotosAndCutsNoOutputOff) {
    const MountedMedium card(Medium::tmpfs, 8);
    SKIP_UNLESS_MOUNTED(card);
    const Tree tree = cameraJpegs(12, 5);
    testkit::writeTree(card.path(), tree);
    // Room for a few outputs only.
    const fs::path filler = card / "filler";
    ASSERT_NE(::system(("dd if=/dev/zero of='" + filler.string() + "' bs=4k 2>/dev/null").c_str()),
              -1);
    fs::resize_file(filler, fs::file_size(filler) - 12 * 1024);
    const Compress compress{card.path()};
    EXPECT_EQ(compress.run(), 0);
    const Names codes = compress.failureCodes();
    ASSERT_FALSE(codes.empty()) << "the disk did not fill";
    for (const std::string& code : codes)
        EXPECT_EQ(code, "disk-full");
    EXPECT_EQ(brokenOutputs(compress.outputFolder()), Names{});
    EXPECT_EQ(filesBelow(compress.outputFolder()) + codes.size(), tree.size());
    EXPECT_TRUE(sourcesIntact(card.path(), tree));
    EXPECT_EQ(leftovers(card.path()), Names{});
}

// A medium that fails every write into the output folder fails each photo
// with its reason; no original is copied in its stead.
TEST(MoskelMedia, WriteErrorsFailThePhotosWithTheirReason) {
    testkit::TempDir backing;
    const Tree tree = cameraJpegs(4, 2);
    testkit::writeTree(backing / "card", tree);
    for (const std::string rule : {"write:COMPRESSED_50:EIO", "flush:COMPRESSED_50:EIO"}) {
        SCOPED_TRACE(rule);
        const testkit::FaultyMount medium(backing.path(), {rule});
        SKIP_UNLESS_MOUNTED(medium);
        const Compress compress{medium / "card"};
        EXPECT_EQ(compress.run(), 0);
        EXPECT_EQ(compress.failureCodes(), Names(tree.size(), "io-error"));
        EXPECT_EQ(filesBelow(backing / "card/COMPRESSED_50"), 0u);
        EXPECT_EQ(readFile(compress.tmp / "uncompressed.txt"), "");
        EXPECT_TRUE(sourcesIntact(backing / "card", tree));
        EXPECT_EQ(leftovers(backing / "card"), Names{});
    }
}

// A read-only card ends the compress at once with status 5, nothing made.
TEST(MoskelMedia, ReadOnlyCardMakesNothing) {
    testkit::TempDir dir;
    const Tree tree = cameraJpegs(2, 3);
    testkit::writeTree(dir / "card", tree);
    fs::create_directory(dir / "ro");
    std::string whyNot;
    if (!testkit::bindReadOnly(dir / "card", dir / "ro", whyNot))
        GTEST_SKIP() << whyNot;
    const Compress compress{dir / "ro"};
    EXPECT_EQ(compress.run(), 5);
    testkit::unmount(dir / "ro");
    EXPECT_FALSE(fs::exists(dir / "card/COMPRESSED_50"));
    EXPECT_TRUE(sourcesIntact(dir / "card", tree));
}

// Killed at random moments on an exFAT card, Moskel never leaves a cut-off
// output under a real name, and a second run gives each photo exactly one.
TEST(MoskelMedia, KilledCompressLeavesNoCutOutputAndARerunFinishes) {
    std::mt19937 random(77);
    const Tree tree = cameraJpegs(16, 4);
    for (int trial = 0; trial < 6; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        const MountedMedium card(Medium::exfat);
        SKIP_UNLESS_MOUNTED(card);
        testkit::writeTree(card.path(), tree);
        const Compress compress{card.path()};
        ASSERT_EQ(testkit::run(COMPRESS_SCAN_PATH, {compress.source, compress.tmp}).exitCode, 0);
        {
            testkit::Background moskel(
                {MOSKEL_PATH, compress.source, compress.tmp.string(), "50", "2"});
            std::this_thread::sleep_for(
                std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 600)(random)));
        }
        EXPECT_TRUE(sourcesIntact(card.path(), tree));
        for (const auto& entry : fs::directory_iterator(card.path())) {
            if (entry.path().filename() == "COMPRESSED_50") {
                for (const auto& output : fs::directory_iterator(entry.path())) {
                    if (output.is_regular_file() && output.file_size() > 0) {
                        EXPECT_TRUE(isWholeJpeg(readFile(output.path()))) << output.path();
                    }
                }
            }
        }

        EXPECT_EQ(compress.run(), 0);
        EXPECT_EQ(readFile(compress.tmp / "failures.txt"), "");
        EXPECT_EQ(filesBelow(compress.outputFolder()), tree.size());
        EXPECT_EQ(brokenOutputs(compress.outputFolder()), Names{});
        EXPECT_EQ(leftovers(card.path()), Names{});
    }
}

}  // namespace
}  // namespace velmora
