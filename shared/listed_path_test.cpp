// SPDX-License-Identifier: GPL-3.0-or-later
#include "listed_path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>

#include "test_support.h"

// brevin_test and moskel_test transfer photos below such deep trees.
namespace velmora {
namespace {

TEST(ListedPath, SplitsAtTheLastSlash) {
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"/a/b/IMG_1.jpg", "/a/b", "IMG_1.jpg"},
        {"/IMG_1.jpg", "/", "IMG_1.jpg"},
        {"IMG_1.jpg", ".", "IMG_1.jpg"},
        {"a/", "a", ""},
    };
    for (const auto& [path, folder, name] : rows) {
        const ListedPath split = splitListedPath(path);
        EXPECT_EQ(split.folder, folder) << path;
        EXPECT_EQ(split.name, name) << path;
    }
}

TEST(ListedPath, OpensFoldersDeeperThanPathMaxAndKeepsTheLastOneOpen) {
    testkit::TempDir dir;
    std::string deep = dir.path().string();
    int fd = ::open(deep.c_str(), O_RDONLY | O_DIRECTORY);
    while (deep.size() <= PATH_MAX + 100) {
        ASSERT_EQ(::mkdirat(fd, "d", 0700), 0);
        const int child = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = child;
        deep += "/d";
    }
    ASSERT_EQ(::mkdirat(fd, "last", 0700), 0);
    struct stat expected;
    ASSERT_EQ(::fstatat(fd, "last", &expected, 0), 0);
    ::close(fd);

    FolderCache cache;
    const int opened = cache.open(deep + "/last");
    struct stat found;
    ASSERT_EQ(::fstat(opened, &found), 0);
    EXPECT_EQ(found.st_ino, expected.st_ino);
    EXPECT_EQ(cache.open(deep + "/last"), opened);
    EXPECT_LT(cache.open(deep + "/missing"), 0);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_LT(cache.open(deep + "/missing"), 0);
    EXPECT_EQ(errno, ENOENT);
    testkit::run("/bin/rm", {"-rf", dir.path().string()});
}

}  // namespace
}  // namespace velmora
