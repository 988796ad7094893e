// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "file_io.h"

namespace velmora {

/// The counters of one sort scan.
struct ScanCounts {
    std::int64_t visited = 0;  ///< regular files examined
    std::int64_t total = 0;    ///< numbered photos
    std::int64_t odd = 0;
    std::int64_t even = 0;
    std::int64_t ignored = 0;  ///< regular files that are not numbered photos
    /// Among the ignored: photos left out because their names are not UTF-8.
    std::int64_t unreadableNames = 0;
};

/// The files a sort scan writes into its job folder while it walks: the four
/// lists, the photos with unreadable names (job::kUnreadableNames) and the
/// progress file.
class ScanOutput {
  public:
    enum class List { files, odd, even, ignore, unreadableNames };

    ScanOutput() = default;
    ScanOutput(const ScanOutput&) = delete;
    ScanOutput& operator=(const ScanOutput&) = delete;

    /// Creates the six files empty in `folder`, replacing any earlier ones,
    /// and opens them. False when any of them cannot be opened.
    bool open(const std::string& folder);

    /// Writes `path` as the next line of `list`.
    void record(List list, std::string_view path);

    /// Rewrites the progress file in place with `counts`: truncated, then one line.
    void writeProgress(const ScanCounts& counts);

    /// Closes the files that are open, the progress file last.
    void close();

  private:
    static constexpr std::size_t statusFile = 5;
    std::array<UniqueFd, 6> fds_;
};

/// The progress line (job::ScanProgressField) without its line feed.
std::string progressLine(const ScanCounts& counts);

/// The summary line (job::SortSummaryField) with its line feed.
std::string summaryLine(const ScanCounts& counts);

}  // namespace velmora
