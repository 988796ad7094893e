// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <filesystem>
#include <initializer_list>
#include <mutex>
#include <string>
#include <string_view>

#include "failure_reason.h"
#include "file_io.h"
#include "space_reserve.h"

namespace velmora {

/// One of a worker's lists in the job folder (job::kFailures,
/// job::kUncompressed, job::kOutputs): one line per photo, its listed path
/// (escaped like the scan's ignore list when it cannot stand as one line)
/// and further fields, joined by job::kReasonSeparator. Safe to use from many
/// worker threads.
class RecordList {
  public:
    /// When lines reach the file.
    enum class Writing {
        EachLine,   ///< at once
        InBatches,  ///< some kilobytes at a time, and at flush(): one write
                    ///< per photo would cost a sort of renames a third of its time
    };

    ~RecordList() { flush(); }

    /// Creates the list `name` empty in the job folder `folder`, replacing
    /// the list of an earlier run (never following a link). A write that
    /// meets a full disk takes `reserve` (when given, it outlives this) and
    /// goes on. False when the list cannot be made.
    bool create(const std::filesystem::path& folder, std::string_view name,
                SpaceReserve* reserve = nullptr, Writing writing = Writing::EachLine);

    /// Appends the line of the photo listed as `listedPath` with `fields`
    /// (none holds a line break or a tab) at the end of the file; lines of
    /// concurrent workers never mix. False when the line could not be
    /// written whole; lost() then stays true.
    bool append(std::string_view listedPath, std::initializer_list<std::string_view> fields);

    /// Appends a failure list's line: the path, the failure's code and words.
    bool append(std::string_view listedPath, const Failure& failure) {
        return append(listedPath, {failureCodeName(failure.code), failure.text});
    }

    /// Writes the lines still held back. False when they could not be
    /// written whole; lost() then stays true.
    bool flush();

    /// True once a line could not be written: the list is short.
    bool lost() const { return lost_.load(std::memory_order_relaxed); }

  private:
    bool writeOut(std::string_view text);

    UniqueFd fd_;
    Writing writing_ = Writing::EachLine;
    std::string held_;
    SpaceReserve* reserve_ = nullptr;
    std::mutex lock_;
    std::atomic<bool> lost_{false};
};

}  // namespace velmora
