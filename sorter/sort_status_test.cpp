// SPDX-License-Identifier: GPL-3.0-or-later
#include "sort_status.h"

#include <gtest/gtest.h>

#include <vector>

#include "job_protocol.h"
#include "test_support.h"

// brevin_test reads the line from the real program's status file.
namespace velmora {
namespace {

using Lines = std::vector<std::string>;

/// The counters of every line a run of `total` photos of 10 bytes writes,
/// when every `failEvery`-th photo fails.
Lines writtenCounters(std::int64_t total, int failEvery) {
    using Field = job::SortStatusField;
    Lines lines;
    SortStatus status(
        [&](std::string_view line) {
            lines.push_back(testkit::statusCounters(line, Field::count, Field::elapsed));
            return true;
        },
        total);
    status.begin();
    for (std::int64_t i = 1; i <= total; ++i)
        status.recordOutcome(i % failEvery != 0, 10);
    status.finish();
    return lines;
}

TEST(SortStatus, WritesAtStartEvery25AtTheLastAndAtTheEnd) {
    EXPECT_EQ(writtenCounters(60, 10),
              (Lines{"0|0|0|60", "25|2|230|60", "50|5|450|60", "60|6|540|60", "60|6|540|60"}));
    EXPECT_EQ(writtenCounters(50, 1000),
              (Lines{"0|0|0|50", "25|0|250|50", "50|0|500|50", "50|0|500|50"}));
    EXPECT_EQ(writtenCounters(3, 1), (Lines{"0|0|0|3", "3|3|0|3", "3|3|0|3"}));
    EXPECT_EQ(writtenCounters(0, 1), (Lines{"0|0|0|0", "0|0|0|0"}));
}

}  // namespace
}  // namespace velmora
