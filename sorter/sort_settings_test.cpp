// SPDX-License-Identifier: GPL-3.0-or-later
// brevin_test checks the argument count and the defaults on the real program.
#include "sort_settings.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

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

TEST(SortSettings, DefaultsThenBoundsTheNumbersAndResolvesRelativeFolders) {
    // WORKERS ODD EVEN as given, then as read.
    const std::pair<std::array<const char*, 3>, std::array<std::int64_t, 3>> cases[] = {
        {{" 5", "12", "0"}, {4, 8, 1}},
        {{"0", "x", "-2"}, {1, 1, 1}},
        {{"-3", "8", "3"}, {1, 8, 3}},
        {{"+7", "1", "1"}, {7, 1, 1}},
        {{"1000000", "+2", "9"}, {1000000, 2, 8}}};
    for (const auto& [given, expected] : cases) {
        const SortSettings settings = parsed(given[0], given[1], given[2]);
        EXPECT_EQ((std::array{settings.workers, settings.oddFolderCount, settings.evenFolderCount}),
                  expected)
            << given[0] << " " << given[1] << " " << given[2];
    }
    EXPECT_EQ(parsed("4", "1", "1").source, std::filesystem::current_path() / "photos");
    EXPECT_EQ(parsed("4", "1", "1").tmp, std::filesystem::current_path() / "job");
}

}  // namespace
}  // namespace velmora
