// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace velmora {

/// The run's counters as the status file shows them.
struct CompressCounters {
    std::int64_t done = 0;
    std::int64_t failed = 0;
    std::int64_t outputBytes = 0;
    std::int64_t inputBytes = 0;
    std::int64_t kept = 0;          ///< outputs that are the source's own bytes
    std::int64_t uncompressed = 0;  ///< sources copied unchanged: not a readable image
};

/// The status line (job::CompressStatusField) with its line feed, the elapsed
/// seconds raised to at least 0.001 and in shortest round-trip form.
std::string compressStatusLine(const CompressCounters& counters, double elapsedSeconds,
                               std::int64_t total);

/// True when the status file is due after a file finished: every 4th
/// finished file, and the last one.
bool statusDueAfter(std::int64_t done, std::int64_t total);

}  // namespace velmora
