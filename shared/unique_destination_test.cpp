// SPDX-License-Identifier: GPL-3.0-or-later
#include "unique_destination.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "test_support.h"

// Claims race in brevin_test (2000 photos for one name, inside an open
// folder) and in moskel_test (by path).
namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::TempDir;
using testkit::writeFile;

/// Takes a name the way the workers do: by creating it exclusively.
ClaimResult createExclusively(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno == EEXIST ? ClaimResult::Taken : ClaimResult::Failed;
    ::close(fd);
    return ClaimResult::Claimed;
}

TEST(UniqueDestination, NumbersTakenNamesBeforeTheExtension) {
    TempDir dir;
    EXPECT_EQ(uniqueDestination(dir / "IMG_0013.JPG"), dir / "IMG_0013.JPG");
    writeFile(dir / "IMG_0013.JPG", "a");
    EXPECT_EQ(uniqueDestination(dir / "IMG_0013.JPG"), dir / "IMG_0013 (1).JPG");
    writeFile(dir / "IMG_0013 (1).JPG", "b");
    EXPECT_EQ(uniqueDestination(dir / "IMG_0013.JPG"), dir / "IMG_0013 (2).JPG");
    writeFile(dir / "scan 8", "c");
    EXPECT_EQ(uniqueDestination(dir / "scan 8"), dir / "scan 8 (1)");
    writeFile(dir / "photo.12.jpg", "d");
    EXPECT_EQ(uniqueDestination(dir / "photo.12.jpg"), dir / "photo.12 (1).jpg");
    fs::create_directory(dir / "IMG_4.jpg");
    EXPECT_EQ(uniqueDestination(dir / "IMG_4.jpg"), dir / "IMG_4 (1).jpg");
    // A dangling link looks free, but claiming never replaces it.
    fs::create_symlink(dir / "nowhere", dir / "IMG_6.jpg");
    EXPECT_EQ(uniqueDestination(dir / "IMG_6.jpg"), dir / "IMG_6.jpg");
    EXPECT_EQ(claimFreeName(AT_FDCWD, dir / "IMG_6.jpg", createExclusively), dir / "IMG_6 (1).jpg");
    EXPECT_FALSE(claimFreeName(AT_FDCWD, dir / "missing" / "a.jpg", createExclusively));
}

TEST(UniqueDestination, AfterTheLastNumberComesARandomUuidName) {
    TempDir dir;
    long calls = 0;
    const auto found = claimFreeName(
        AT_FDCWD, dir / "IMG_1.jpg",
        [&](const std::string& candidate) {
            ++calls;
            const bool numbered = fs::path(candidate).filename().string().starts_with("IMG_1");
            return numbered ? ClaimResult::Taken : ClaimResult::Claimed;
        },
        100);
    ASSERT_TRUE(found);
    const fs::path name = *found;
    EXPECT_EQ(calls, 102);  // the name itself, "IMG_1 (1).jpg" to "IMG_1 (100).jpg", a UUID
    const std::string uuid = name.filename().string();
    EXPECT_EQ(name.parent_path(), dir.path());
    ASSERT_EQ(uuid.size(), 40u) << uuid;
    EXPECT_EQ(uuid.find_first_not_of("0123456789ABCDEF-"), 36u) << uuid;
    EXPECT_EQ(uuid.substr(8, 1) + uuid.substr(13, 2) + uuid.substr(18, 1) + uuid.substr(23, 1) +
                  uuid.substr(36),
              "--4--.jpg");
}

}  // namespace
}  // namespace velmora
