// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string_view>

#include "space_reserve.h"

namespace velmora {

/// A worker's status line in the job folder, replaced whole at every write
/// (replaceFileAtomically). A write that meets a full disk takes the job
/// folder's reserve of space and tries again.
class StatusFile {
  public:
    /// `file` in the job folder; `reserve` (which may be null) outlives this.
    StatusFile(std::filesystem::path file, SpaceReserve* reserve)
        : file_(std::move(file)), reserve_(reserve) {}

    /// Replaces the file with `line`; false when it could not be written.
    bool write(std::string_view line);

    /// True when the last write reached the file: its line is the latest.
    bool current() const { return current_; }

  private:
    std::filesystem::path file_;
    SpaceReserve* reserve_;
    bool current_ = true;
};

}  // namespace velmora
