#pragma once

#include <filesystem>
#include <string_view>

#include "file_io.h"

namespace velmora {

/// The list of the photos a worker run failed on, job::kFailures in the job
/// folder: one line per photo, its path as listed (escaped like the scan's
/// ignore list when it cannot stand as one line), job::kReasonSeparator and a
/// short reason in English. Safe to use from many worker threads.
class FailureList {
  public:
    /// Creates the list empty in the job folder `folder`, replacing the list
    /// of an earlier run (never following a link). False when it cannot be
    /// made.
    bool create(const std::filesystem::path& folder);

    /// Appends the line of the photo listed as `listedPath` with `reason`
    /// (which holds no line break or tab) in one write to the end of the
    /// file, so that lines of concurrent workers never mix. A failed write
    /// loses the line.
    void record(std::string_view listedPath, std::string_view reason) const;

  private:
    UniqueFd fd_;
};

}  // namespace velmora
