// SPDX-License-Identifier: GPL-3.0-or-later
#include "absolute_path.h"

#include <gtest/gtest.h>

#include <filesystem>

// tallix_test runs the real program from a relative SOURCE.
namespace velmora {
namespace {

TEST(AbsolutePath, JoinsTheCurrentFolderAndDropsEmptyAndDotNames) {
    const std::string current = std::filesystem::current_path().string();
    EXPECT_EQ(absolutePath("/a//b/./c/"), "/a/b/c");
    EXPECT_EQ(absolutePath("//"), "/");
    EXPECT_EQ(absolutePath("./a/../b/"), current + "/a/../b");
    EXPECT_EQ(absolutePath("."), current);
    EXPECT_EQ(absolutePath(""), std::nullopt);
}

}  // namespace
}  // namespace velmora
