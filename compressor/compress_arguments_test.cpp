// moskel_test reads the quality from the output folder of the real program.
#include "compress_arguments.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(CompressArguments, DefaultsThenClamps) {
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
    const std::pair<const char*, int> qualities[] = {
        {"", 50}, {"100", 100}, {"99999999999", 100}, {"50 ", 50}, {"7.5", 50}};
    for (const auto& [text, expected] : qualities)
        EXPECT_EQ(parseQuality(text), expected) << text;
}

}  // namespace
}  // namespace velmora
