// SPDX-License-Identifier: GPL-3.0-or-later
#include "decimal.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace velmora {
namespace {

TEST(Decimal, ParsesSignedAsciiIntegersOnly) {
    EXPECT_EQ(parseDecimalInteger("+75"), 75);
    EXPECT_EQ(parseDecimalInteger("-9223372036854775808"), INT64_MIN);
    for (const char* text : {"", "+", "-", " 50", "+-5", "1e3", "9223372036854775808", "\u0663"}) {
        EXPECT_FALSE(parseDecimalInteger(text)) << text;
    }
}

TEST(Decimal, FormatsSecondsAsShortestFixedText) {
    EXPECT_EQ(formatSeconds(0.001), "0.001");
    EXPECT_EQ(formatSeconds(2.0), "2.0");
    EXPECT_EQ(formatSeconds(37.52901005744934), "37.52901005744934");
    EXPECT_EQ(formatSeconds(1e15), "1000000000000000.0");
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> seconds(0.001, 1e6);
    for (int i = 0; i < 1000; ++i) {
        const double value = seconds(random);
        const std::string text = formatSeconds(value);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
        EXPECT_EQ(text.find_first_of("eE"), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace velmora
