// SPDX-License-Identifier: GPL-3.0-or-later
#include "temporary_area.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "test_support.h"

// brevin_test and moskel_test kill real runs and run again on their leftovers.
namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::listTree;
using testkit::TempDir;
using testkit::writeFile;
using Names = std::vector<std::string>;

TEST(TemporaryArea, IsMadeWhenFirstNeededAndLeavesNothing) {
    TempDir dir;
    const UniqueFd folder(::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY));
    {
        TemporaryArea area(folder.get());
        EXPECT_TRUE(listTree(dir.path()).empty());
        const int own = area.folder();
        ASSERT_GE(own, 0);
        EXPECT_EQ(area.folder(), own);
        EXPECT_NE(area.newName(), area.newName());
        ASSERT_EQ(::close(::openat(own, "part", O_WRONLY | O_CREAT, 0600)), 0);
        EXPECT_EQ(listTree(dir.path()).size(), 3u);  // the hidden folder, the area, its file
        // A live area is never a leftover.
        TemporaryArea::removeLeftovers(folder.get());
        EXPECT_EQ(listTree(dir.path()).size(), 3u);
    }
    EXPECT_TRUE(listTree(dir.path()).empty());
}

TEST(TemporaryArea, LeftoversOfDeadRunsGoThoseOfLiveRunsStay) {
    TempDir dir;
    const fs::path partial = dir / std::string(kPartialFolder);
    writeFile(partial / "dead" / "1.jpg", "cut off");
    writeFile(partial / "dead" / ".1.jpg.x8Yz2Q", "cut off too");
    writeFile(partial / "live" / "2", "being written");
    writeFile(dir / "IMG_1.jpg", "a photo");
    // Another run holds its lock, through a descriptor of its own.
    const UniqueFd live(::open((partial / "live").c_str(), O_RDONLY | O_DIRECTORY));
    ASSERT_EQ(::flock(live.get(), LOCK_EX), 0);

    const UniqueFd folder(::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY));
    TemporaryArea::removeLeftovers(folder.get());
    EXPECT_EQ(listTree(dir.path()), (Names{".velmora-partial/", ".velmora-partial/live/",
                                           ".velmora-partial/live/2", "IMG_1.jpg"}));
}

}  // namespace
}  // namespace velmora
