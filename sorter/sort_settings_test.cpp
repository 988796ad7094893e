#include "sort_settings.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

SortSettings parsed(std::string_view mode, std::string_view workers, std::string_view odd,
                    std::string_view even) {
    const auto settings = parseSortArguments({"/p", "/j", mode, workers, odd, even});
    EXPECT_TRUE(settings);
    return settings.value_or(SortSettings{});
}

TEST(SortSettings, NeedsExactlySixArguments) {
    EXPECT_FALSE(parseSortArguments({"/p", "/j", "COPY", "4", "1"}));
    EXPECT_FALSE(parseSortArguments({"/p", "/j", "COPY", "4", "1", "1", "1"}));
    EXPECT_FALSE(parseSortArguments({}));
}

TEST(SortSettings, CopiesOnlyWhenModeUpperCasesToCopy) {
    for (const char* mode : {"COPY", "copy", "Copy", "cOpY"})
        EXPECT_TRUE(isCopyMode(mode)) << mode;
    // Full-width letters upper-case to themselves, never to ASCII.
    for (const char* mode : {"MOVE", "FAST", "", "COPY ", " COPY", "COP", "COPYY",
                             "\uFF23\uFF2F\uFF30\uFF39", "\u0107opy"}) {
        EXPECT_FALSE(isCopyMode(mode)) << mode;
    }
    EXPECT_TRUE(parsed("copy", "4", "1", "1").copy);
    EXPECT_FALSE(parsed("MOVE", "4", "1", "1").copy);
}

TEST(SortSettings, DefaultsThenBoundsTheNumbers) {
    EXPECT_EQ(parsed("M", "abc", "1", "1").workers, 4);
    EXPECT_EQ(parsed("M", " 5", "1", "1").workers, 4);
    EXPECT_EQ(parsed("M", "0", "1", "1").workers, 1);
    EXPECT_EQ(parsed("M", "-3", "1", "1").workers, 1);
    EXPECT_EQ(parsed("M", "+7", "1", "1").workers, 7);
    EXPECT_EQ(parsed("M", "1000000", "1", "1").workers, 1000000);

    EXPECT_EQ(parsed("M", "4", "12", "9").oddFolderCount, 8);
    EXPECT_EQ(parsed("M", "4", "12", "9").evenFolderCount, 8);
    EXPECT_EQ(parsed("M", "4", "x", "0").oddFolderCount, 1);
    EXPECT_EQ(parsed("M", "4", "x", "0").evenFolderCount, 1);
    EXPECT_EQ(parsed("M", "4", "3", "-2").oddFolderCount, 3);
    EXPECT_EQ(parsed("M", "4", "3", "-2").evenFolderCount, 1);
}

TEST(SortSettings, ResolvesRelativeFoldersAgainstTheCurrentOne) {
    const auto settings = parseSortArguments({"photos", "job", "COPY", "4", "1", "1"});
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->source, std::filesystem::current_path() / "photos");
    EXPECT_EQ(settings->tmp, std::filesystem::current_path() / "job");
}

}  // namespace
}  // namespace velmora
