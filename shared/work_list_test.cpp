#include "work_list.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

TEST(WorkList, SplitsAtEveryLineBreakAndDropsEmptyLines) {
    EXPECT_EQ(splitWorkList("a\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(splitWorkList("a\r\nb\r\n\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(splitWorkList("a\rb\vc\fd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitWorkList("a\u0085b\u2028c\u2029d"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitWorkList("\n\n\r\r\n"), Lines{});
    EXPECT_EQ(splitWorkList(""), Lines{});
}

TEST(WorkList, KeepsBlanksAndOtherCharactersVerbatim) {
    EXPECT_EQ(splitWorkList(" a \n\tb\n"), (Lines{" a ", "\tb"}));
    // U+2027 and U+202A share the lead bytes of the separators but are not breaks.
    EXPECT_EQ(splitWorkList("x\u2027y\u202Az\n"), (Lines{"x\u2027y\u202Az"}));
    EXPECT_EQ(splitWorkList("Caf\u00e9 12.jpg\n"), (Lines{"Caf\u00e9 12.jpg"}));
}

TEST(WorkList, ValidatesUtf8Strictly) {
    EXPECT_TRUE(isValidUtf8("plain \u00e9\u4e2d\U0001F600"));
    EXPECT_FALSE(isValidUtf8("\xff"));
    EXPECT_FALSE(isValidUtf8("\xc3"));              // truncated
    EXPECT_FALSE(isValidUtf8("\xc0\xaf"));          // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xe0\x80\xaf"));      // overlong
    EXPECT_FALSE(isValidUtf8("\xed\xa0\x80"));      // surrogate
    EXPECT_FALSE(isValidUtf8("\xf4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(isValidUtf8("\x80"));              // stray continuation
}

TEST(WorkList, ListLineRefusesWhatCannotBeReadBackAsOneLine) {
    EXPECT_TRUE(isListLine("/photos/IMG 1.jpg"));
    EXPECT_FALSE(isListLine(""));
    EXPECT_FALSE(isListLine("/a\nb.jpg"));
    EXPECT_FALSE(isListLine("/a\rb.jpg"));
    EXPECT_FALSE(isListLine("/a\vb.jpg"));
    EXPECT_FALSE(isListLine("/a\fb.jpg"));
    EXPECT_FALSE(isListLine("/a\u0085b.jpg"));
    EXPECT_FALSE(isListLine("/a\u2028b.jpg"));
    EXPECT_FALSE(isListLine("/a\u2029b.jpg"));
    EXPECT_FALSE(isListLine("/a\xffz.jpg"));
}

TEST(WorkList, ReadsFilesAndRefusesUnreadableOrInvalidOnes) {
    testing::TempDir dir;
    testing::writeFile(dir / "files.txt", "/p/a 1.jpg\r\n/p/b2.png\n\n");
    EXPECT_EQ(readWorkList(dir / "files.txt"), (Lines{"/p/a 1.jpg", "/p/b2.png"}));

    testing::writeFile(dir / "empty.txt", "");
    EXPECT_EQ(readWorkList(dir / "empty.txt"), Lines{});

    testing::writeFile(dir / "bad.txt", "/p/a\xff.jpg\n");
    EXPECT_FALSE(readWorkList(dir / "bad.txt"));
    EXPECT_FALSE(readWorkList(dir / "missing.txt"));
    EXPECT_FALSE(readWorkList(dir.path()));  // a folder is not a list
}

}  // namespace
}  // namespace velmora
