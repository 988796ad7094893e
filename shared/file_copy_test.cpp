#include "file_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "test_support.h"

// brevin_test runs copies out of room, killed copies, sparse copies and moves
// across file systems with the real program.

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

TEST(FileCopy, RenameNeverReplaces) {
    TempDir dir;
    writeFile(dir / "a.jpg", "a");
    writeFile(dir / "taken.jpg", "other");
    fs::create_symlink("nowhere", dir / "link.jpg");
    const UniqueFd folder = openFolder(dir.path());
    for (const char* taken : {"taken.jpg", "link.jpg"})
        EXPECT_EQ(renameNoReplace(folder.get(), "a.jpg", folder.get(), taken), ClaimResult::Taken);
    EXPECT_EQ(renameNoReplace(folder.get(), "gone.jpg", folder.get(), "b.jpg"),
              ClaimResult::Failed);
    EXPECT_EQ(renameNoReplace(folder.get(), "a.jpg", folder.get(), "b.jpg"), ClaimResult::Claimed);
    EXPECT_EQ(listTree(dir.path()), (Names{"b.jpg", "link.jpg", "taken.jpg"}));
    EXPECT_EQ(readFile(dir / "taken.jpg"), "other");
}

TEST(FileCopy, SourceShorterThanSaidFailsTheCopy) {
    TempDir dir;
    writeFile(dir / "small.jpg", "small");
    const UniqueFd small(::open((dir / "small.jpg").c_str(), O_RDONLY));
    const UniqueFd out(::open((dir / "copy.jpg").c_str(), O_RDWR | O_CREAT, 0600));
    EXPECT_FALSE(copyFileData(small.get(), out.get(), 100));
}

TEST(FileCopy, PendingFileHasNoNameUntilPublishedAndNeverReplaces) {
    TempDir dir;
    writeFile(dir / "IMG_1.jpg", "older");
    const UniqueFd folder = openFolder(dir.path());
    TemporaryArea area(folder.get());
    {
        PendingFile dropped(folder.get(), area);
        ASSERT_TRUE(dropped.valid());
        ASSERT_TRUE(writeAll(dropped.fd(), "never named"));
    }
    PendingFile copy(folder.get(), area);
    ASSERT_TRUE(copy.valid());
    ASSERT_TRUE(writeAll(copy.fd(), "new"));
    EXPECT_EQ(listTree(dir.path()), Names{"IMG_1.jpg"});
    EXPECT_EQ(copy.publish("IMG_1.jpg"), ClaimResult::Taken);
    EXPECT_EQ(copy.publish("IMG_1 (1).jpg"), ClaimResult::Claimed);
    EXPECT_EQ(listTree(dir.path()), (Names{"IMG_1 (1).jpg", "IMG_1.jpg"}));
    EXPECT_EQ(readFile(dir / "IMG_1 (1).jpg"), "new");
    EXPECT_EQ(readFile(dir / "IMG_1.jpg"), "older");
    EXPECT_EQ(statOf(dir / "IMG_1 (1).jpg").st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace velmora
