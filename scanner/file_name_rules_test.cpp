// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_name_rules.h"

#include <gtest/gtest.h>

#include <charconv>
#include <random>
#include <regex>
#include <string>
#include <vector>

namespace velmora {
namespace {

// The generated names below cover the ordinary cases; these are the edges.
TEST(NumberFromAsciiDigitRun, ReadsTheWholeRunUpToTheLargestInt64) {
    EXPECT_EQ(numberFromAsciiDigitRun("photo.123.jpg"), 123);
    EXPECT_EQ(numberFromAsciiDigitRun("x²5.jpg"), 5);
    EXPECT_EQ(numberFromAsciiDigitRun("x9223372036854775807.jpg"), INT64_MAX);
    EXPECT_EQ(numberFromAsciiDigitRun("00000000009223372036854775807.jpg"), INT64_MAX);
    for (const char* name : {"9223372036854775808.jpg", "١٢.jpg", "12.", "IMG_12 .jpg"})
        EXPECT_EQ(numberFromAsciiDigitRun(name), std::nullopt) << name;
}

TEST(NumberFromAsciiDigitRun, AgreesWithThePatternOnGeneratedNames) {
    const std::regex pattern("([0-9]+)(?=\\.[^.]+$)");
    const std::vector<std::string> pieces = {"0", "1", "7", "9", "00",   "92233720368547758070",
                                             ".", ".", "a", "Z", " ",    "_",
                                             "²", "١", "é", "-", "\xff", "\n"};
    std::mt19937 random(20240611);
    for (int round = 0; round < 40000; ++round) {
        std::string name;
        for (int n = int(random() % 9); n > 0; --n)
            name += pieces[random() % pieces.size()];

        std::optional<std::int64_t> expected;
        std::smatch match;
        if (std::regex_search(name, match, pattern)) {
            std::int64_t value;
            const std::string digits = match[1];
            const auto result =
                std::from_chars(digits.data(), digits.data() + digits.size(), value);
            if (result.ec == std::errc())
                expected = value;
        }
        ASSERT_EQ(numberFromAsciiDigitRun(name), expected) << name;
    }
}

TEST(HasPhotoExtension, TakesTheLastExtensionInAnyCase) {
    for (const char* name : {"a.jpg", "a.JPG", "b.Jpeg", "c.PNG", "d.heic", "e.TIF", "f.tiff",
                             "g.WebP", "x.tar.jpg", "12.JpEg"}) {
        EXPECT_TRUE(hasPhotoExtension(name)) << name;
    }
    for (const char* name : {"a.gif", "notes 12.txt", "jpg", "a.jpg.txt", "a.jpgx", "a.", "a.jp",
                             "a.JPG ", "a.tıff", "a.heİc"}) {
        EXPECT_FALSE(hasPhotoExtension(name)) << name;
    }
}

}  // namespace
}  // namespace velmora
