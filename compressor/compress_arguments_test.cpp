// SPDX-License-Identifier: GPL-3.0-or-later
// moskel_test reads every quality case from the real program's output folder.
#include "compress_arguments.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(CompressArguments, WorkersDefaultToFourThenStayWithinOneToEight) {
    const std::pair<const char*, int> workers[] = {
        {"16", 8},
        {"0", 1},
        {"x", 4},
        {"+3", 3},
        {" 3", 4},
        {"-9223372036854775808", 1},
        {"9223372036854775808", 4}};  // beyond 64 bits: not a number
    for (const auto& [text, expected] : workers)
        EXPECT_EQ(parseWorkers(text), expected) << text;
}

}  // namespace
}  // namespace velmora
