// SPDX-License-Identifier: GPL-3.0-or-later
#include "bounded_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

namespace velmora {
namespace {

/// Runs a bounded loop and records how it ran.
struct Probe {
    std::vector<std::atomic<int>> runs;
    std::atomic<int> running{0};
    std::atomic<int> mostRunning{0};
    std::mutex mutex;
    std::set<std::thread::id> threads;

    Probe(std::size_t count, std::int64_t workers, bool throwing = false) : runs(count) {
        runBounded(count, workers, [&](std::size_t k) {
            const int now = ++running;
            for (int most = mostRunning; now > most;)
                mostRunning.compare_exchange_weak(most, now);
            {
                std::lock_guard guard(mutex);
                threads.insert(std::this_thread::get_id());
            }
            std::this_thread::yield();
            ++runs[k];
            --running;
            if (throwing)
                throw std::runtime_error("step failed");
        });
    }

    bool everyStepRanOnce() const {
        return std::all_of(runs.begin(), runs.end(), [](const auto& r) { return r == 1; });
    }
};

TEST(BoundedPool, RunsEveryStepOnceWithAtMostWorkersInFlightOnAFewThreads) {
    for (const std::int64_t workers : {1, 3, 8, 1000000}) {
        Probe probe(2000, workers);
        EXPECT_TRUE(probe.everyStepRanOnce());
        EXPECT_LE(probe.mostRunning, workers);
        EXPECT_LE(probe.threads.size(), kMaxPoolThreads);
    }
    Probe belowOne(50, -3, true);  // at least one worker; throwing steps are dropped
    EXPECT_TRUE(belowOne.everyStepRanOnce());
    EXPECT_EQ(belowOne.mostRunning, 1);
}

}  // namespace
}  // namespace velmora
