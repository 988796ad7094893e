// SPDX-License-Identifier: GPL-3.0-or-later
// Missing and non-UTF-8 lists are refused by the real programs in the Brevin
// and Moskel tests.
#include "work_list.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

TEST(WorkList, SplitsAtEveryLineBreakAndKeepsEverythingElse) {
    EXPECT_EQ(splitWorkList("a\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(splitWorkList("a\r\nb\r\n\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(splitWorkList("a\rb\vc\fd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitWorkList("a\u0085b\u2028c\u2029d"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitWorkList("\n\n\r\r\n"), Lines{});
    EXPECT_EQ(splitWorkList(" a \n\tb\n"), (Lines{" a ", "\tb"}));
    // U+2027 and U+202A share the lead bytes of the separators but are not breaks.
    EXPECT_EQ(splitWorkList("x\u2027y\u202Az\n"), (Lines{"x\u2027y\u202Az"}));
}

TEST(WorkList, ValidatesUtf8Strictly) {
    EXPECT_TRUE(isValidUtf8("plain \u00e9\u4e2d\U0001F600"));
    // Stray, truncated, overlong "/", overlong, surrogate, above U+10FFFF, lone continuation.
    for (const char* text :
         {"\xff", "\xc3", "\xc0\xaf", "\xe0\x80\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\x80"}) {
        EXPECT_FALSE(isValidUtf8(text)) << text;
    }
}

TEST(WorkList, ListLineRefusesWhatCannotBeReadBackAsOneLine) {
    EXPECT_TRUE(isListLine("/photos/IMG 1.jpg"));
    for (const char* line : {"", "/a\nb", "/a\rb", "/a\vb", "/a\fb", "/a\u0085b", "/a\u2028b",
                             "/a\u2029b", "/a\xffz"}) {
        EXPECT_FALSE(isListLine(line)) << line;
    }
}

TEST(WorkList, ReadsAFileButNotAFolder) {
    testkit::TempDir dir;
    testkit::writeFile(dir / "files.txt", "/p/a 1.jpg\r\n/p/b2.png\n\n");
    EXPECT_EQ(readWorkList(dir / "files.txt"), (Lines{"/p/a 1.jpg", "/p/b2.png"}));
    EXPECT_FALSE(readWorkList(dir.path()));
}

}  // namespace
}  // namespace velmora
