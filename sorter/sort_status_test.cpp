#include "sort_status.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

namespace velmora {
namespace {

/// The lines a run publishes, split into counters and elapsed seconds.
struct Recorded {
    std::vector<std::string> counters;  ///< each line without its elapsed field
    std::vector<double> elapsed;

    SortStatus::Publish publisher() {
        return [this](std::string_view line) {
            EXPECT_EQ(line.back(), '\n');
            const std::string text(line.substr(0, line.size() - 1));
            std::size_t third = 0;
            for (int bar = 0; bar < 3; ++bar)
                third = text.find('|', third) + 1;
            const std::size_t fourth = text.find('|', third);
            elapsed.push_back(std::strtod(text.substr(third, fourth - third).c_str(), nullptr));
            counters.push_back(text.substr(0, third) + text.substr(fourth + 1));
        };
    }
};

TEST(SortStatus, FormatsTheLine) {
    EXPECT_EQ(sortStatusLine(25, 1, 123456789012, 3.218765020370483, 480),
              "25|1|123456789012|3.218765020370483|480\n");
    EXPECT_EQ(sortStatusLine(0, 0, 0, 0.001, 0), "0|0|0|0.001|0\n");
    EXPECT_EQ(sortStatusLine(3, 0, 10, 2.0, 3), "3|0|10|2.0|3\n");
}

TEST(SortStatus, WritesAtStartEvery25AtTheLastAndAtTheEnd) {
    using Lines = std::vector<std::string>;
    const auto run = [](std::int64_t total, int failEvery) {
        Recorded recorded;
        SortStatus status(recorded.publisher(), total);
        status.begin();
        for (std::int64_t i = 1; i <= total; ++i)
            status.recordOutcome(i % failEvery != 0, 10);
        status.finish();
        for (double seconds : recorded.elapsed)
            EXPECT_GE(seconds, 0.001);
        return recorded.counters;
    };
    EXPECT_EQ(run(60, 10),
              (Lines{"0|0|0|60", "25|2|230|60", "50|5|450|60", "60|6|540|60", "60|6|540|60"}));
    EXPECT_EQ(run(50, 1000), (Lines{"0|0|0|50", "25|0|250|50", "50|0|500|50", "50|0|500|50"}));
    EXPECT_EQ(run(3, 1000), (Lines{"0|0|0|3", "3|0|30|3", "3|0|30|3"}));
    EXPECT_EQ(run(4, 1), (Lines{"0|0|0|4", "4|4|0|4", "4|4|0|4"}));
    EXPECT_EQ(run(0, 1), (Lines{"0|0|0|0", "0|0|0|0"}));
}

TEST(SortStatus, CountsFromManyThreadsConsistently) {
    Recorded recorded;
    constexpr int kThreads = 8;
    constexpr int kEach = 500;
    SortStatus status(recorded.publisher(), kThreads * kEach);
    status.begin();
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&] {
                for (int i = 0; i < kEach; ++i)
                    status.recordOutcome(i % 5 != 0, 3);
            });
        }
    }
    status.finish();
    ASSERT_EQ(recorded.counters.size(), 2u + kThreads * kEach / 25);
    for (std::size_t i = 1; i + 1 < recorded.counters.size(); ++i) {
        EXPECT_EQ(std::atoll(recorded.counters[i].c_str()), std::int64_t(i) * 25);
    }
    EXPECT_EQ(recorded.counters.back(), "4000|800|9600|4000");
}

}  // namespace
}  // namespace velmora
