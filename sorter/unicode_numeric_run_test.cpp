// SPDX-License-Identifier: GPL-3.0-or-later
#include "unicode_numeric_run.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(NumberFromUnicodeNumericRun, ReadsTheDigitsBeforeTheLastExtension) {
    EXPECT_EQ(numberFromUnicodeNumericRun("IMG_0007.JPG"), 7);
    EXPECT_EQ(numberFromUnicodeNumericRun("IMG_7"), 7);
    EXPECT_EQ(numberFromUnicodeNumericRun("photo.12.jpg"), 12);
    EXPECT_EQ(numberFromUnicodeNumericRun("IMG_0.jpg"), 0);
    EXPECT_EQ(numberFromUnicodeNumericRun("Caf\u00e9 12.jpg"), 12);
    EXPECT_EQ(numberFromUnicodeNumericRun("12."), 12);
    EXPECT_EQ(numberFromUnicodeNumericRun("9223372036854775807.jpg"), INT64_MAX);
    // Letters of any script and stray bytes end the run as usual.
    EXPECT_EQ(numberFromUnicodeNumericRun("\u5199\u771f5.jpg"), 5);
    EXPECT_EQ(numberFromUnicodeNumericRun("\xff"
                                          "5.jpg"),
              5);
}

TEST(NumberFromUnicodeNumericRun, GivesNothingWithoutAPlainAsciiTrailingNumber) {
    // Any other numeric character in the run means no number: superscript
    // two, Arabic-Indic three, roman twelve, one half, CJK one, full-width five.
    for (const char* name : {"IMG_7a.jpg", "IMG.jpg", ".jpg", "", "12 .jpg", "IMG_5.jpg.",
                             "9223372036854775808.jpg", "x\u00b25.jpg", "IMG_\u0663.jpg",
                             "\u216b5.jpg", "\u00bd7.jpg", "\u4e005.jpg", "IMG_\uff15.jpg"}) {
        EXPECT_FALSE(numberFromUnicodeNumericRun(name)) << name;
    }
}

}  // namespace
}  // namespace velmora
