// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real scanner and Brevin on real file systems that the tests mount:
// camera cards and USB drives (exFAT, FAT32, NTFS), the kernel's own, full
// disks, failing media and read-only ones.

#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "mounted_medium.h"
#include "test_support.h"
#include "tree_census.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::contentCounts;
using testkit::FaultyMount;
using testkit::filesNotFrom;
using testkit::kShotAt;
using testkit::leftovers;
using testkit::Medium;
using testkit::MountedMedium;
using testkit::readFile;
using testkit::setTimesBelow;
using testkit::splitText;
using testkit::writeFile;
using Names = std::vector<std::string>;
using Tree = std::map<std::string, std::string>;

#define SKIP_UNLESS_MOUNTED(medium)            \
    do {                                       \
        if (!(medium).mounted())               \
            GTEST_SKIP() << (medium).whyNot(); \
    } while (false)

/// A sort of the photo folder `source` with its job folder in a temporary folder.
struct Sort {
    fs::path source;
    testkit::TempDir jobRoot{};
    fs::path tmp = jobRoot / "job";

    /// Scans, then sorts with `workers` workers and `folders` folders per parity;
    /// gives Brevin's exit status (or the scan's, when it fails).
    int run(const std::string& mode, int workers = 4, int folders = 2) const {
        const auto scan = testkit::run(TALLIX_PATH, {source, tmp});
        if (scan.exitCode != 0)
            return 100 + scan.exitCode;
        const std::string n = std::to_string(folders);
        return testkit::run(BREVIN_PATH, {source, tmp, mode, std::to_string(workers), n, n})
            .exitCode;
    }
    /// The reason codes of failures.txt, one per failed photo, by file name.
    std::map<std::string, std::string> failureCodes() const {
        std::map<std::string, std::string> codes;
        for (const std::string& line : splitText(readFile(tmp / "failures.txt"))) {
            const auto words = line.rfind('\t');
            const auto code = line.rfind('\t', words - 1);
            codes[fs::path(line.substr(0, code)).filename()] =
                line.substr(code + 1, words - code - 1);
        }
        return codes;
    }
    /// "done|failed" of the status line.
    std::string doneAndFailed() const {
        const Names fields = splitText(readFile(tmp / "status.txt").substr(0, 40), '|');
        return fields.size() < 2 ? "" : fields[0] + "|" + fields[1];
    }
};

/// True when every content of `tree` occurs exactly `times` below `root`,
/// and nothing else does.
::testing::AssertionResult holdsEachPhoto(const fs::path& root, const Tree& tree, int times) {
    std::map<std::string, int> expected;
    for (const auto& [path, content] : tree)
        expected[content] = times;
    const auto counts = contentCounts(root);
    if (counts == expected)
        return ::testing::AssertionSuccess();
    int wrong = 0;
    for (const auto& [content, count] : expected)
        wrong += counts.count(content) == 0 || counts.at(content) != count;
    return ::testing::AssertionFailure()
           << wrong << " of " << tree.size() << " photos are not there " << times << " time(s); "
           << counts.size() << " distinct contents found";
}

/// The files directly in the sort's output folders, relative to `source`.
Names photosOutsideOutputFolders(const fs::path& source) {
    Names outside;
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        const std::string relative = fs::relative(entry.path(), source);
        if (entry.is_regular_file() && relative.rfind("GANJIL", 0) != 0 &&
            relative.rfind("GENAP", 0) != 0)
            outside.push_back(relative);
    }
    return outside;
}

class EveryMedium : public ::testing::TestWithParam<Medium> {};

std::string mediumTestName(const ::testing::TestParamInfo<Medium>& info) {
    std::string name(testkit::mediumName(info.param));
    std::erase(name, '-');
    return name;
}

int megabytesFor(Medium medium) {
    return medium == Medium::xfs ? 320 : medium == Medium::btrfs ? 128 : 64;
}

// Photos start on camera cards and USB drives: every photo arrives whole,
// once for a MOVE and twice for a COPY, IMG_1.JPG and img_1.jpg both (the
// second under a free name where names ignore case), and nothing of the
// run is left behind.
TEST_P(EveryMedium, MoveAndCopyArriveWholeAndLeaveNothing) {
    const Tree tree = testkit::cameraTree(40, 200 * 1024, 17);
    for (const std::string mode : {"COPY", "MOVE"}) {
        SCOPED_TRACE(mode);
        const MountedMedium card(GetParam(), megabytesFor(GetParam()));
        SKIP_UNLESS_MOUNTED(card);
        testkit::writeTree(card.path(), tree);
        setTimesBelow(card.path(), kShotAt);
        const Sort sort{card.path()};
        ASSERT_EQ(sort.run(mode), 0);
        EXPECT_EQ(readFile(sort.tmp / "failures.txt"), "");
        EXPECT_EQ(sort.doneAndFailed(), std::to_string(tree.size()) + "|0");
        EXPECT_TRUE(holdsEachPhoto(card.path(), tree, mode == "COPY" ? 2 : 1));
        EXPECT_EQ(filesNotFrom(card.path(), kShotAt), Names{});
        EXPECT_EQ(leftovers(card.path()), Names{});
        if (mode == "MOVE") {
            EXPECT_EQ(photosOutsideOutputFolders(card.path()), Names{});
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Media, EveryMedium, ::testing::ValuesIn(testkit::allMedia()),
                         mediumTestName);

// Names that a card refuses fail with a reason that says so and stay where
// they were; a long name that needs a free-name number still arrives.
TEST(BrevinMedia, RefusedNamesFailAndStayLongNamesArrive) {
    for (const Medium medium : {Medium::exfat, Medium::ntfsWindowsNames}) {
        SCOPED_TRACE(std::string(testkit::mediumName(medium)));
        const MountedMedium card(medium);
        SKIP_UNLESS_MOUNTED(card);
        // Photos from a laptop folder mounted on the card, bound for the card.
        fs::create_directory(card / "laptop");
        const MountedMedium laptop(Medium::tmpfs, 16);
        SKIP_UNLESS_MOUNTED(laptop);
        const std::string longBase(240, 'x');
        const Tree refused = {{"trip: day 1.jpg", "colon"}, {"what? 3.jpg", "question"}};
        const Tree fine = {{longBase + " 5.jpg", "long"},
                           {"sub/" + longBase + " 5.jpg", "long too"}};
        testkit::writeTree(laptop.path(), refused);
        testkit::writeTree(laptop.path(), fine);
        ASSERT_EQ(testkit::bind(laptop.path(), card / "laptop"), "");
        const Sort sort{card.path()};
        EXPECT_EQ(sort.run("MOVE", 2, 1), 0);
        EXPECT_EQ(sort.failureCodes(),
                  (std::map<std::string, std::string>{{"trip: day 1.jpg", "name-refused"},
                                                      {"what? 3.jpg", "name-refused"}}));
        for (const auto& [name, content] : refused)
            EXPECT_EQ(readFile(laptop / name), content);
        const auto arrived = contentCounts(card / "GANJIL");
        EXPECT_EQ(arrived, (std::map<std::string, int>{{"long", 1}, {"long too", 1}}));
        EXPECT_EQ(leftovers(card.path()), Names{});
        testkit::unmount(card / "laptop");
    }
}

// A full disk: the photo that meets it fails with "disk-full" and the ones
// still waiting fail at once; nothing cut off remains and a MOVE across
// file systems keeps its sources.
TEST(BrevinMedia, FullDiskFailsTheRestAtOnceAndCutsNothingOff) {
    const MountedMedium card(Medium::tmpfs, 6);
    SKIP_UNLESS_MOUNTED(card);
    fs::create_directory(card / "phone");
    const MountedMedium phone(Medium::tmpfs, 32);
    SKIP_UNLESS_MOUNTED(phone);
    ASSERT_EQ(testkit::bind(phone.path(), card / "phone"), "");
    const Tree tree = testkit::cameraTree(24, 1024 * 1024, 5);
    testkit::writeTree(card / "phone", tree);
    const Sort sort{card.path()};
    EXPECT_EQ(sort.run("MOVE", 2, 1), 0);
    const auto codes = sort.failureCodes();
    ASSERT_FALSE(codes.empty());
    for (const auto& [name, code] : codes)
        EXPECT_EQ(code, "disk-full") << name;
    // Every photo is once somewhere, whole: moved, or still on the phone.
    EXPECT_TRUE(holdsEachPhoto(card.path(), tree, 1));
    EXPECT_EQ(leftovers(card.path()), Names{});
    EXPECT_EQ(splitText(readFile(sort.tmp / "outputs.txt")).size() +
                  splitText(readFile(sort.tmp / "failures.txt")).size(),
              tree.size());
    testkit::unmount(card / "phone");
}

// The job folder's disk fills: Brevin says so with status 4, and every
// photo is still once somewhere, whole.
TEST(BrevinMedia, FullJobFolderEndsWithStatusFourAndLosesNothing) {
    const MountedMedium jobDisk(Medium::tmpfs, 1);
    SKIP_UNLESS_MOUNTED(jobDisk);
    testkit::TempDir photos;
    const Tree tree = testkit::cameraTree(60, 2048, 9);
    testkit::writeTree(photos.path(), tree);
    const fs::path tmp = jobDisk / "job";
    ASSERT_EQ(testkit::run(TALLIX_PATH, {photos.path(), tmp}).exitCode, 0);
    // dd ends with a failure once the disk is full, which is the point.
    const int fill = ::system(
        ("dd if=/dev/zero of='" + (jobDisk / "filler").string() + "' bs=4k 2>/dev/null").c_str());
    ASSERT_NE(fill, -1) << "dd could not be started";
    const auto result = testkit::run(BREVIN_PATH, {photos.path(), tmp, "MOVE", "4", "1", "1"});
    EXPECT_EQ(result.exitCode, 4) << result.err;
    EXPECT_TRUE(holdsEachPhoto(photos.path(), tree, 1));
    EXPECT_EQ(leftovers(photos.path()), Names{});
}

// A card that is read-only ends the sort at once with status 5, nothing changed.
TEST(BrevinMedia, ReadOnlyCardChangesNothing) {
    testkit::TempDir dir;
    const Tree tree = testkit::cameraTree(6, 64, 3);
    testkit::writeTree(dir / "card", tree);
    fs::create_directory(dir / "ro");
    std::string whyNot;
    if (!testkit::bindReadOnly(dir / "card", dir / "ro", whyNot))
        GTEST_SKIP() << whyNot;
    const Sort sort{dir / "ro"};
    EXPECT_EQ(sort.run("MOVE"), 5);
    testkit::unmount(dir / "ro");
    EXPECT_TRUE(holdsEachPhoto(dir / "card", tree, 1));
    EXPECT_EQ(photosOutsideOutputFolders(dir / "card").size(), tree.size());
    EXPECT_FALSE(fs::exists(dir / "card/GANJIL"));
}

struct FaultCase {
    std::string name;
    Names rules;
    std::string mode;
    Names failing;  ///< the photos that fail, all with `code`
    std::string code;
};

class FailingMedium : public ::testing::TestWithParam<FaultCase> {};

// Failing media: a read, write, sync or close error fails exactly the photos
// it hits, with their reason; they stay where they were and nothing cut off
// remains. A medium without hard links or no-replace renames still takes
// every photo.
TEST_P(FailingMedium, FailsOnlyThePhotosHitAndKeepsTheirSources) {
    const FaultCase& fault = GetParam();
    const Tree tree = {{"IMG_0001.JPG", std::string(300000, 'a')},
                       {"IMG_0002.JPG", std::string(200000, 'b')},
                       {"IMG_0003.JPG", "three"},
                       {"IMG_0004.JPG", "four"}};
    const bool move = fault.mode == "MOVE";
    testkit::TempDir backing;
    fs::create_directories(backing / "card/phone");
    if (!move)
        testkit::writeTree(backing / "card", tree);
    const FaultyMount medium(backing.path(), fault.rules);
    SKIP_UNLESS_MOUNTED(medium);
    // A move takes its photos from another file system, so it copies them.
    const MountedMedium phone(Medium::tmpfs, 16);
    if (move) {
        SKIP_UNLESS_MOUNTED(phone);
        testkit::writeTree(phone.path(), tree);
        ASSERT_EQ(testkit::bind(phone.path(), medium / "card/phone"), "");
    }
    const Sort sort{medium / "card"};
    EXPECT_EQ(sort.run(fault.mode, 2, 1), 0);
    std::map<std::string, std::string> expected;
    for (const std::string& name : fault.failing)
        expected[name] = fault.code;
    EXPECT_EQ(sort.failureCodes(), expected);
    if (move) {
        EXPECT_TRUE(holdsEachPhoto(medium / "card", tree, 1));
        for (const std::string& name : fault.failing)
            EXPECT_EQ(readFile(phone / name), tree.at(name));
        EXPECT_EQ(leftovers(phone.path()), Names{});
        testkit::unmount(medium / "card/phone");
    } else {
        // The copies of the failed photos are missing, and nothing else.
        auto copied = tree;
        for (const std::string& name : fault.failing)
            copied.erase(name);
        std::map<std::string, int> expected;
        for (const auto& [name, content] : tree)
            expected[content] = copied.count(name) ? 2 : 1;
        EXPECT_EQ(contentCounts(backing / "card"), expected);
    }
    EXPECT_EQ(leftovers(backing / "card"), Names{});
}

const Names odd = {"IMG_0001.JPG", "IMG_0003.JPG"};
const Names even = {"IMG_0002.JPG", "IMG_0004.JPG"};

INSTANTIATE_TEST_SUITE_P(
    Faults, FailingMedium,
    ::testing::Values(
        FaultCase{"ReadError", {"read:IMG_0003:EIO"}, "COPY", {"IMG_0003.JPG"}, "io-error"},
        FaultCase{"WriteError", {"write:GANJIL:EIO"}, "COPY", odd, "io-error"},
        FaultCase{"CloseError", {"flush:GENAP:EIO"}, "COPY", even, "io-error"},
        FaultCase{"MoveWriteError", {"write:GANJIL:EIO"}, "MOVE", odd, "io-error"},
        FaultCase{"MoveSyncError", {"fsync:GENAP:EIO"}, "MOVE", even, "io-error"},
        FaultCase{"MoveCloseError", {"flush:GANJIL:EIO"}, "MOVE", odd, "io-error"},
        FaultCase{"NoLinksNoNoReplace", {"no-links", "no-noreplace"}, "MOVE", {}, ""},
        FaultCase{"CopyNoLinksNoNoReplace", {"no-links", "no-noreplace"}, "COPY", {}, ""}),
    [](const auto& info) { return info.param.name; });

// Killed at random moments during a move from one card to another medium,
// Brevin loses nothing: every photo is whole somewhere, and a second run
// finishes the job with each photo once.
TEST(BrevinMedia, KilledCrossDeviceMoveLosesNothingAndARerunFinishes) {
    std::mt19937 random(2024);
    for (int trial = 0; trial < 8; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        const MountedMedium drive(Medium::exfat);
        SKIP_UNLESS_MOUNTED(drive);
        fs::create_directory(drive / "card");
        const MountedMedium card(Medium::tmpfs, 32);
        SKIP_UNLESS_MOUNTED(card);
        ASSERT_EQ(testkit::bind(card.path(), drive / "card"), "");
        const Tree tree = testkit::cameraTree(30, 256 * 1024, trial);
        testkit::writeTree(card.path(), tree);
        const Sort sort{drive.path()};
        ASSERT_EQ(testkit::run(TALLIX_PATH, {sort.source, sort.tmp}).exitCode, 0);
        testkit::Background brevin(
            {BREVIN_PATH, sort.source, sort.tmp.string(), "MOVE", "4", "1", "1"});
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 400)(random)));
        brevin.kill();
        const auto counts = contentCounts(drive.path());
        for (const auto& [path, content] : tree)
            EXPECT_GE(counts.count(content) ? counts.at(content) : 0, 1) << path;

        EXPECT_EQ(sort.run("MOVE", 4, 1), 0);
        EXPECT_EQ(readFile(sort.tmp / "failures.txt"), "");
        EXPECT_TRUE(holdsEachPhoto(drive.path(), tree, 1));
        EXPECT_EQ(leftovers(drive.path()), Names{});
        testkit::unmount(drive / "card");
    }
}

}  // namespace
}  // namespace velmora
