#include "compress_arguments.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(CompressArguments, WorkersDefaultToFourAndStayWithinOneToEight) {
    EXPECT_EQ(parseWorkers("16"), 8);
    EXPECT_EQ(parseWorkers("0"), 1);
    EXPECT_EQ(parseWorkers("x"), 4);
    EXPECT_EQ(parseWorkers("+3"), 3);
    EXPECT_EQ(parseWorkers(" 3"), 4);
    EXPECT_EQ(parseWorkers("-9223372036854775808"), 1);
    EXPECT_EQ(parseWorkers("9223372036854775808"), 4);  // beyond 64 bits: not a number
}

TEST(CompressArguments, QualityDefaultsToFiftyAndStaysWithinOneToHundred) {
    EXPECT_EQ(parseQuality("abc"), 50);
    EXPECT_EQ(parseQuality(""), 50);
    EXPECT_EQ(parseQuality("100"), 100);
    EXPECT_EQ(parseQuality("99999999999"), 100);
    EXPECT_EQ(parseQuality("50 "), 50);
    EXPECT_EQ(parseQuality("7.5"), 50);
}

}  // namespace
}  // namespace velmora
