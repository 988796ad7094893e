#include "number_from_name.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(NumberFromName, ReadsTheDigitsBeforeTheLastExtension) {
    EXPECT_EQ(numberFromName("IMG_0007.JPG"), 7);
    EXPECT_EQ(numberFromName("IMG_0042.jpg"), 42);
    EXPECT_EQ(numberFromName("IMG_7"), 7);
    EXPECT_EQ(numberFromName("photo.12.jpg"), 12);
    EXPECT_EQ(numberFromName("IMG_0.jpg"), 0);
    EXPECT_EQ(numberFromName("Caf\u00e9 12.jpg"), 12);
    EXPECT_EQ(numberFromName("12."), 12);
    EXPECT_EQ(numberFromName("9223372036854775807.jpg"), INT64_MAX);
}

TEST(NumberFromName, GivesNothingWithoutAPlainTrailingNumber) {
    for (const char* name : {"IMG_7a.jpg", "IMG.jpg", ".jpg", "", "12 .jpg", "IMG_5.jpg.",
                             "12345678901234567890.jpg", "9223372036854775808.jpg"}) {
        EXPECT_FALSE(numberFromName(name)) << name;
    }
}

TEST(NumberFromName, AnyOtherNumericCharacterInTheRunMeansNoNumber) {
    for (const char* name : {"x\u00b25.jpg",       // superscript two
                             "IMG_\u0663.jpg",     // Arabic-Indic three
                             "\u216b5.jpg",        // roman numeral twelve
                             "\u00bd7.jpg",        // vulgar fraction one half
                             "\u4e005.jpg",        // CJK ideograph one
                             "IMG_\uff15.jpg"}) {  // full-width five
        EXPECT_FALSE(numberFromName(name)) << name;
    }
    // Non-numeric letters of any script end the run as usual.
    EXPECT_EQ(numberFromName("\u5199\u771f5.jpg"), 5);
    EXPECT_EQ(numberFromName("\xff"
                             "5.jpg"),
              5);  // stray byte: not numeric
}

}  // namespace
}  // namespace velmora
