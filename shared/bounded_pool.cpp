// SPDX-License-Identifier: GPL-3.0-or-later
#include "bounded_pool.h"

#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace velmora {

namespace {

void nameThread(std::string_view label) {
    // Linux keeps at most 15 characters of a thread name.
    const std::string name(label.substr(0, 15));
    (void)::pthread_setname_np(::pthread_self(), name.c_str());
}

void runStep(const std::function<void(std::size_t)>& step, std::size_t k) {
    try {
        step(k);
    } catch (...) {
        // A step accounts for its own failures; this only keeps the run going.
    }
}

}  // namespace

void runBounded(std::size_t count, std::int64_t workers,
                const std::function<void(std::size_t k)>& step, std::string_view label,
                const std::atomic<bool>* stop) {
    if (count == 0)
        return;
    const std::uint64_t threads = std::min<std::uint64_t>(
        {static_cast<std::uint64_t>(std::max<std::int64_t>(workers, 1)), count, kMaxPoolThreads});
    std::atomic<std::size_t> next{0};
    const auto drain = [&] {
        nameThread(label);
        for (std::size_t k; (k = next.fetch_add(1, std::memory_order_relaxed)) < count;) {
            if (stop != nullptr && stop->load(std::memory_order_relaxed))
                break;
            runStep(step, k);
        }
    };
    std::vector<std::jthread> pool;
    for (std::size_t i = 0; i < threads; ++i) {
        try {
            pool.emplace_back(drain);
        } catch (const std::system_error&) {
            break;  // go on with the threads there are
        }
    }
    if (pool.empty())
        drain();
}

}  // namespace velmora
