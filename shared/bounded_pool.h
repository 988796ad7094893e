#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace velmora {

/// The most threads a bounded run starts, however many steps may be in
/// flight: the steps wait on the file system, not on the processor.
inline constexpr std::size_t kMaxPoolThreads = 32;

/// Runs `step(k)` for k = 0 to count - 1 on a pool of threads and returns
/// once every step has finished. The calling thread hands the steps out in
/// order, waiting on a semaphore of `workers` permits (at least 1) before
/// each one, so at most `workers` steps are handed out and unfinished at any
/// time; each step gives its permit back when it ends, also by an exception,
/// which is dropped. The pool has at most min(workers, count,
/// kMaxPoolThreads) threads, named after `label`.
void runBounded(std::size_t count, std::int64_t workers,
                const std::function<void(std::size_t k)>& step, std::string_view label = "Velmora");

}  // namespace velmora
