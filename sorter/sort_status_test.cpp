#include "sort_status.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

// brevin_test checks the line's format on the real program.
namespace velmora {
namespace {

using Lines = std::vector<std::string>;

/// The lines a run of `total` photos of 10 bytes writes, when every
/// `failEvery`-th photo fails, without their elapsed field.
Lines writtenLines(std::int64_t total, int failEvery) {
    Lines lines;
    SortStatus status(
        [&](std::string_view line) {
            const std::size_t third = line.find('|', line.find('|', line.find('|') + 1) + 1);
            const std::size_t fourth = line.find('|', third + 1);
            EXPECT_GE(std::strtod(std::string(line.substr(third + 1)).c_str(), nullptr), 0.001);
            lines.push_back(std::string(line.substr(0, third)) + std::string(line.substr(fourth)));
        },
        total);
    status.begin();
    for (std::int64_t i = 1; i <= total; ++i)
        status.recordOutcome(i % failEvery != 0, 10);
    status.finish();
    return lines;
}

TEST(SortStatus, WritesAtStartEvery25AtTheLastAndAtTheEnd) {
    EXPECT_EQ(writtenLines(60, 10), (Lines{"0|0|0|60\n", "25|2|230|60\n", "50|5|450|60\n",
                                           "60|6|540|60\n", "60|6|540|60\n"}));
    EXPECT_EQ(writtenLines(50, 1000),
              (Lines{"0|0|0|50\n", "25|0|250|50\n", "50|0|500|50\n", "50|0|500|50\n"}));
    EXPECT_EQ(writtenLines(3, 1), (Lines{"0|0|0|3\n", "3|3|0|3\n", "3|3|0|3\n"}));
    EXPECT_EQ(writtenLines(0, 1), (Lines{"0|0|0|0\n", "0|0|0|0\n"}));
}

}  // namespace
}  // namespace velmora
