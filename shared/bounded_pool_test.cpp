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

/// Runs a bounded loop whose steps record how many run at once.
struct Probe {
    std::atomic<int> running{0};
    std::atomic<int> mostRunning{0};
    std::vector<std::atomic<int>> runs;
    std::mutex mutex;
    std::set<std::thread::id> threads;

    explicit Probe(std::size_t count) : runs(count) {}

    void step(std::size_t k) {
        const int now = ++running;
        int most = mostRunning;
        while (now > most && !mostRunning.compare_exchange_weak(most, now)) {
        }
        {
            std::lock_guard guard(mutex);
            threads.insert(std::this_thread::get_id());
        }
        std::this_thread::yield();
        ++runs[k];
        --running;
    }

    bool everyStepRanOnce() const {
        return std::all_of(runs.begin(), runs.end(), [](const auto& r) { return r == 1; });
    }
};

TEST(BoundedPool, RunsEveryStepOnceWithAtMostWorkersInFlight) {
    for (const std::int64_t workers : {1, 3, 8}) {
        Probe probe(2000);
        runBounded(
            2000, workers, [&](std::size_t k) { probe.step(k); }, "Velmora.Test");
        EXPECT_TRUE(probe.everyStepRanOnce());
        EXPECT_LE(probe.mostRunning, workers);
        EXPECT_LE(probe.threads.size(), std::size_t(workers));
    }
}

TEST(BoundedPool, AHugeWorkerCountStartsOnlyAFewThreads) {
    Probe probe(5000);
    runBounded(5000, 1000000, [&](std::size_t k) { probe.step(k); });
    EXPECT_TRUE(probe.everyStepRanOnce());
    EXPECT_LE(probe.threads.size(), kMaxPoolThreads);
}

TEST(BoundedPool, TreatsWorkersBelowOneAsOneAndSurvivesThrowingSteps) {
    Probe probe(50);
    runBounded(50, -3, [&](std::size_t k) {
        probe.step(k);
        throw std::runtime_error("step failed");
    });
    EXPECT_TRUE(probe.everyStepRanOnce());
    EXPECT_EQ(probe.mostRunning, 1);
    runBounded(0, 4, [](std::size_t) { FAIL(); });
}

}  // namespace
}  // namespace velmora
