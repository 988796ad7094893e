// SPDX-License-Identifier: GPL-3.0-or-later
#include "sort_scan.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(SortScan, RewritesProgressAfterEvery1000thFileOnlyWhenItIsANumberedPhoto) {
    testkit::TempDir dir;
    ScanOutput output;
    ASSERT_TRUE(output.open(dir.path()));
    SortScan scan{output};
    const auto feed = [&](const std::string& name, int times) {
        for (int i = 0; i < times; ++i)
            scan.visitFile(WalkEntry{-1, name.c_str(), "/photos/" + name});
    };
    const auto feedNumbered = [&](int from, int to) {
        for (int n = from; n <= to; ++n)
            feed("IMG_" + std::to_string(n) + ".jpg", 1);
    };
    const auto progress = [&] { return testkit::readFile(dir / "scan_status.txt"); };

    feedNumbered(1, 999);
    EXPECT_EQ(progress(), "");
    feedNumbered(1000, 1000);
    EXPECT_EQ(progress(), "1000|1000|500|500|0\n");
    feedNumbered(1001, 1999);
    feed("notes.txt", 1);  // file 2000
    feedNumbered(1, 1);
    EXPECT_EQ(progress(), "1000|1000|500|500|0\n");
    feed("notes.txt", 998);
    feedNumbered(2, 2);  // file 3000
    EXPECT_EQ(progress(), "3000|2001|1001|1000|999\n");
}

}  // namespace
}  // namespace velmora
