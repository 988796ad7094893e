// brevin_test checks the argument count and the defaults on the real program.
#include "sort_settings.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

SortSettings parsed(std::string_view workers, std::string_view odd, std::string_view even) {
    const std::vector<std::string_view> args = {"photos", "job", "MOVE", workers, odd, even};
    const auto settings = parseSortArguments(args);
    EXPECT_TRUE(settings);
    return settings.value_or(SortSettings{});
}

TEST(SortSettings, CopiesOnlyWhenModeUpperCasesToCopy) {
    for (const char* mode : {"COPY", "copy", "Copy", "cOpY"})
        EXPECT_TRUE(isCopyMode(mode)) << mode;
    // Full-width letters upper-case to themselves, never to ASCII.
    for (const char* mode : {"MOVE", "FAST", "", "COPY ", " COPY", "COP", "COPYY",
                             "\uFF23\uFF2F\uFF30\uFF39", "\u0107opy"}) {
        EXPECT_FALSE(isCopyMode(mode)) << mode;
    }
}

TEST(SortSettings, DefaultsThenBoundsTheNumbers) {
    EXPECT_EQ(parsed(" 5", "1", "1").workers, 4);
    EXPECT_EQ(parsed("0", "1", "1").workers, 1);
    EXPECT_EQ(parsed("-3", "1", "1").workers, 1);
    EXPECT_EQ(parsed("+7", "1", "1").workers, 7);
    EXPECT_EQ(parsed("1000000", "1", "1").workers, 1000000);
    const SortSettings clamped = parsed("4", "12", "0");
    EXPECT_EQ(clamped.oddFolderCount, 8);
    EXPECT_EQ(clamped.evenFolderCount, 1);
    const SortSettings defaulted = parsed("4", "x", "-2");
    EXPECT_EQ(defaulted.oddFolderCount, 1);
    EXPECT_EQ(defaulted.evenFolderCount, 1);
}

TEST(SortSettings, ResolvesRelativeFoldersAgainstTheCurrentOne) {
    EXPECT_EQ(parsed("4", "1", "1").source, std::filesystem::current_path() / "photos");
    EXPECT_EQ(parsed("4", "1", "1").tmp, std::filesystem::current_path() / "job");
}

}  // namespace
}  // namespace velmora
