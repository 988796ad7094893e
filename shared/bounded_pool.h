// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace velmora {

/// The most threads a bounded run starts, however many steps may be in
/// flight: the steps wait on the file system, not on the processor.
inline constexpr std::size_t kMaxPoolThreads = 32;

/// Runs `step(k)` for k = 0 to count - 1 and returns once every step has
/// finished. A pool of min(workers, count, kMaxPoolThreads) threads (at
/// least 1), named after `label`, takes the positions in list order, one at
/// a time, so at most `workers` steps are ever in flight, and however large
/// `workers` is, only a few dozen threads run. Each finished step frees its
/// thread for the next position at once, without a hand-off through the
/// calling thread. An exception thrown by a step is dropped. Once `stop` (when
/// given) is set, no further step starts; those running end as they do.
void runBounded(std::size_t count, std::int64_t workers,
                const std::function<void(std::size_t k)>& step, std::string_view label = "Velmora",
                const std::atomic<bool>* stop = nullptr);

}  // namespace velmora
