#include "bounded_pool.h"

#include <pthread.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <semaphore>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace velmora {

namespace {

/// A first-in first-out queue of step numbers that the pool threads drain.
class WorkQueue {
  public:
    void push(std::size_t k) {
        {
            std::lock_guard guard(mutex_);
            items_.push_back(k);
        }
        ready_.notify_one();
    }

    /// No more steps will come; idle threads leave once the queue is empty.
    void close() {
        {
            std::lock_guard guard(mutex_);
            closed_ = true;
        }
        ready_.notify_all();
    }

    /// The next step, or nothing once the queue is closed and empty.
    std::optional<std::size_t> pop() {
        std::unique_lock guard(mutex_);
        ready_.wait(guard, [this] { return closed_ || !items_.empty(); });
        if (items_.empty())
            return std::nullopt;
        const std::size_t k = items_.front();
        items_.pop_front();
        return k;
    }

  private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::size_t> items_;
    bool closed_ = false;
};

using Semaphore = std::counting_semaphore<>;

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

void drain(WorkQueue& queue, Semaphore& slots, const std::function<void(std::size_t)>& step,
           std::string_view label) {
    nameThread(label);
    while (const auto k = queue.pop()) {
        runStep(step, *k);
        slots.release();
    }
}

}  // namespace

void runBounded(std::size_t count, std::int64_t workers,
                const std::function<void(std::size_t k)>& step, std::string_view label) {
    if (count == 0)
        return;
    const std::uint64_t inFlight =
        std::min<std::uint64_t>(std::max<std::int64_t>(workers, 1), count);
    const auto permits = static_cast<std::ptrdiff_t>(
        std::min<std::uint64_t>(inFlight, static_cast<std::uint64_t>(Semaphore::max())));
    Semaphore slots(permits);
    WorkQueue queue;
    {
        // Joining the threads, once the queue is closed and drained, is the
        // wait for the group of handed-out steps.
        std::vector<std::jthread> pool;
        const std::size_t threads = std::min<std::uint64_t>(inFlight, kMaxPoolThreads);
        for (std::size_t i = 0; i < threads; ++i) {
            try {
                pool.emplace_back(drain, std::ref(queue), std::ref(slots), std::cref(step), label);
            } catch (const std::system_error&) {
                break;  // go on with the threads there are
            }
        }
        if (pool.empty()) {
            for (std::size_t k = 0; k < count; ++k)
                runStep(step, k);
            return;
        }
        for (std::size_t k = 0; k < count; ++k) {
            slots.acquire();
            queue.push(k);
        }
        queue.close();
    }
}

}  // namespace velmora
