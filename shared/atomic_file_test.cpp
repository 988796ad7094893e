// SPDX-License-Identifier: GPL-3.0-or-later
#include "atomic_file.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::listTree;
using Names = std::vector<std::string>;

// Readers polling a replaced file are exercised by the Brevin race test.
TEST(AtomicFile, ReplacesTheWholeFileAndLeavesNoTemporary) {
    testkit::TempDir dir;
    ASSERT_TRUE(replaceFileAtomically(dir / "status.txt", "a much longer first line\n"));
    ASSERT_TRUE(replaceFileAtomically(dir / "status.txt", "1|0\n"));
    EXPECT_EQ(testkit::readFile(dir / "status.txt"), "1|0\n");
    EXPECT_EQ(fs::status(dir / "status.txt").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);

    EXPECT_FALSE(replaceFileAtomically(dir / "missing" / "status.txt", "x\n"));
    fs::create_directory(dir / "folder");
    EXPECT_FALSE(replaceFileAtomically(dir / "folder", "x\n"));  // a folder is never replaced
    EXPECT_EQ(listTree(dir.path()), (Names{"folder/", "status.txt"}));
}

}  // namespace
}  // namespace velmora
