#include "sort_scan.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

class SortScanProgress : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(output.open(dir.path())); }

    void feed(const std::string& name, int times = 1) {
        const std::string path = "/photos/" + name;
        for (int i = 0; i < times; ++i)
            scan.visitFile(WalkEntry{-1, name.c_str(), path});
    }
    void feedNumbered(int from, int to) {
        for (int n = from; n <= to; ++n)
            feed("IMG_" + std::to_string(n) + ".jpg");
    }
    std::string progress() const { return testing::readFile(dir / "scan_status.txt"); }

    testing::TempDir dir;
    ScanOutput output;
    SortScan scan{output};
};

TEST_F(SortScanProgress, RewritesAfterEvery1000thFileOnlyWhenItIsANumberedPhoto) {
    feedNumbered(1, 999);
    EXPECT_EQ(progress(), "");
    feedNumbered(1000, 1000);
    EXPECT_EQ(progress(), "1000|1000|500|500|0\n");
    feedNumbered(1001, 1999);
    feed("notes.txt");  // file 2000
    feedNumbered(1, 1);
    EXPECT_EQ(progress(), "1000|1000|500|500|0\n");
    feed("notes.txt", 998);
    feedNumbered(2, 2);  // file 3000
    EXPECT_EQ(progress(), "3000|2001|1001|1000|999\n");
}

}  // namespace
}  // namespace velmora
