#include "compress_status.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(CompressStatus, LineHoldsSixFieldsWithElapsedAtLeastAMillisecond) {
    EXPECT_EQ(compressStatusLine({}, 0.0, 0), "0|0|0|0|0.001|0\n");
    EXPECT_EQ(compressStatusLine({4, 1, 5000000000, 7000000000}, 2.0, 6),
              "4|1|5000000000|7000000000|2.0|6\n");
    EXPECT_EQ(compressStatusLine({480, 3, 10, 20}, 95.21096801757812, 480),
              "480|3|10|20|95.21096801757812|480\n");
}

}  // namespace
}  // namespace velmora
