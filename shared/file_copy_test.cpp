// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "test_support.h"

// brevin_test runs copies out of room, killed copies, sparse copies and moves
// across file systems with the real program; media_test runs them on FAT,
// exFAT and NTFS, where the weaker ways are the ones that work.

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::listTree;
using testkit::readFile;
using testkit::statOf;
using testkit::TempDir;
using testkit::writeFile;
using Names = std::vector<std::string>;

UniqueFd openFolder(const fs::path& path) {
    return UniqueFd(::open(path.c_str(), O_RDONLY | O_DIRECTORY));
}

class EveryWay : public ::testing::TestWithParam<PublishWay> {};

std::string wayName(const ::testing::TestParamInfo<PublishWay>& way) {
    static const char* const names[] = {"UnnamedLink", "RenameNoReplace", "LinkThenUnlink",
                                        "Placeholder"};
    return names[static_cast<int>(way.param)];
}

INSTANTIATE_TEST_SUITE_P(Ways, EveryWay,
                         ::testing::Values(PublishWay::UnnamedLink, PublishWay::RenameNoReplace,
                                           PublishWay::LinkThenUnlink, PublishWay::Placeholder),
                         wayName);

TEST_P(EveryWay, MoveInNeverReplacesAndLeavesNoPlaceholder) {
    TempDir dir;
    writeFile(dir / "from" / "a.jpg", "a");
    writeFile(dir / "to" / "taken.jpg", "other");
    fs::create_symlink("nowhere", dir / "to" / "link.jpg");
    fs::create_directory(dir / "to" / "folder.jpg");
    const UniqueFd from = openFolder(dir / "from");
    const UniqueFd to = openFolder(dir / "to");
    {
        PublishFolder folder(to.get(), GetParam());
        for (const char* taken : {"taken.jpg", "link.jpg", "folder.jpg"})
            EXPECT_EQ(folder.moveIn(from.get(), "a.jpg", taken, 1), ClaimResult::Taken) << taken;
        EXPECT_EQ(folder.moveIn(from.get(), "gone.jpg", "b.jpg", 1), ClaimResult::Failed);
        EXPECT_EQ(folder.moveIn(from.get(), "a.jpg", "b.jpg", 1), ClaimResult::Claimed);
        EXPECT_EQ(folder.way(), std::max(GetParam(), PublishWay::RenameNoReplace));
    }
    EXPECT_EQ(listTree(dir / "to"), (Names{"b.jpg", "folder.jpg/", "link.jpg", "taken.jpg"}));
    EXPECT_EQ(readFile(dir / "to" / "taken.jpg"), "other");
    EXPECT_EQ(readFile(dir / "to" / "b.jpg"), "a");
    EXPECT_TRUE(listTree(dir / "from").empty());
}

TEST_P(EveryWay, PendingFileHasNoNameUntilPublishedAndNeverReplaces) {
    TempDir dir;
    writeFile(dir / "IMG_1.jpg", "older");
    const UniqueFd handle = openFolder(dir.path());
    {
        PublishFolder folder(handle.get(), GetParam());
        {
            PendingFile dropped(folder);
            ASSERT_TRUE(dropped.valid());
            ASSERT_TRUE(writeAll(dropped.fd(), "never named"));
        }
        PendingFile copy(folder);
        ASSERT_TRUE(copy.valid());
        ASSERT_TRUE(writeAll(copy.fd(), "new"));
        for (const std::string& name : listTree(dir.path()))
            EXPECT_TRUE(name == "IMG_1.jpg" || name.starts_with(".velmora-partial/")) << name;
        EXPECT_EQ(copy.publish("IMG_1.jpg"), ClaimResult::Taken);
        EXPECT_EQ(copy.publish("IMG_1 (1).jpg"), ClaimResult::Claimed);
        EXPECT_EQ(statOf(dir / "IMG_1 (1).jpg").st_mode & 0777, 0600u);
    }
    EXPECT_EQ(listTree(dir.path()), (Names{"IMG_1 (1).jpg", "IMG_1.jpg"}));
    EXPECT_EQ(readFile(dir / "IMG_1 (1).jpg"), "new");
    EXPECT_EQ(readFile(dir / "IMG_1.jpg"), "older");
}

TEST(PublishFolder, ADeadRunsEmptyPlaceholdersGoAndNothingElse) {
    TempDir dir;
    const fs::path dead = dir / ".velmora-partial" / "dead";
    writeFile(dir / "cut.jpg", "");           // its rename never came
    writeFile(dir / "done.jpg", "complete");  // renamed over before the kill
    writeFile(dir / "empty photo.jpg", "");   // an empty photo, noted as such
    writeFile(dir / "unnoted.jpg", "");
    writeFile(dead / "placeholders",
              "9\tcut.jpg\n8\tdone.jpg\n0\tempty photo.jpg\n5\tgone.jpg\n3\tunnot");
    writeFile(dead / "7", "part of a copy");
    const UniqueFd folder = openFolder(dir.path());
    TemporaryArea::removeLeftovers(folder.get());
    EXPECT_EQ(listTree(dir.path()), (Names{"done.jpg", "empty photo.jpg", "unnoted.jpg"}));
}

TEST(FileCopy, SourceShorterThanSaidFailsTheCopy) {
    TempDir dir;
    writeFile(dir / "small.jpg", "small");
    const UniqueFd small(::open((dir / "small.jpg").c_str(), O_RDONLY));
    const UniqueFd out(::open((dir / "copy.jpg").c_str(), O_RDWR | O_CREAT, 0600));
    EXPECT_FALSE(copyFileData(small.get(), out.get(), 100));
}

TEST(FileCopy, FreeNamesThatWouldBeTooLongShortenTheBaseOnly) {
    TempDir dir;
    const std::string base(250, 'x');
    writeFile(dir / (base + ".jpg"), "first");
    writeFile(dir / "IMG_7.jpg", "photo");
    const UniqueFd in(::open((dir / "IMG_7.jpg").c_str(), O_RDONLY));
    const UniqueFd handle = openFolder(dir.path());
    PublishFolder folder(handle.get());
    const CopyOutcome copy = copyToFreeName(in.get(), statOf(dir / "IMG_7.jpg"), 0644, folder,
                                            base + ".jpg", CopyCheck::SyncedAndCompared);
    ASSERT_TRUE(copy.name);
    EXPECT_EQ(*copy.name, std::string(247, 'x') + " (1).jpg");
    EXPECT_EQ(copy.name->size(), 255u);
    EXPECT_EQ(readFile(dir / *copy.name), "photo");
}

}  // namespace
}  // namespace velmora
