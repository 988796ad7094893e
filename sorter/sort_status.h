// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "space_reserve.h"

namespace velmora {

/// The status line (job::SortStatusField) with its line feed, the elapsed
/// seconds as the shortest text that reads back as the same double.
std::string sortStatusLine(std::int64_t done, std::int64_t failed, std::int64_t bytes,
                           double elapsedSeconds, std::int64_t total);

/// The shared counters of a sort run and the status line that publishes
/// them: once at the start, after every 25th finished photo and the last
/// one, and once at the end. Safe to use from many transfer threads.
class SortStatus {
  public:
    /// Receives every status line written, in order; false when it could
    /// not be written.
    using Publish = std::function<bool(std::string_view line)>;

    /// Publishes into `statusFile` (a StatusFile with `reserve`); a failed
    /// write is dropped, the next one tries again.
    SortStatus(const std::filesystem::path& statusFile, std::int64_t total,
               SpaceReserve* reserve = nullptr);
    SortStatus(Publish publish, std::int64_t total);

    /// Starts the clock and writes the first line. Called before any transfer.
    void begin();
    /// Counts one finished photo: failed, or transferred with `size` bytes.
    void recordOutcome(bool succeeded, std::int64_t size);
    /// Writes the final line, once every transfer has finished. False when
    /// it could not be written: the status file is out of date.
    bool finish();

  private:
    static constexpr std::int64_t statusEvery = 25;

    /// Publishes the counters; the caller holds `lock` while transfers run.
    bool writeStatus();

    const Publish publish;
    const std::int64_t total;
    std::chrono::steady_clock::time_point start;
    std::mutex lock;
    std::int64_t done = 0;
    std::int64_t failed = 0;
    std::int64_t bytes = 0;
};

}  // namespace velmora
