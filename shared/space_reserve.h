// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <filesystem>

namespace velmora {

/// Room set aside in the job folder for the files a worker must still write
/// there when that folder's disk fills up (its status line, the lines of its
/// lists), so that they can say what happened to every photo.
class SpaceReserve {
  public:
    SpaceReserve() = default;
    ~SpaceReserve() { release(); }
    SpaceReserve(const SpaceReserve&) = delete;
    SpaceReserve& operator=(const SpaceReserve&) = delete;

    /// Sets `bytes` aside in a hidden file of the folder `folder`. Best
    /// effort: nothing is set aside where the disk has no room already.
    void create(const std::filesystem::path& folder, long bytes = 256 * 1024);

    /// Gives the room back, for a write that met a full disk: true when
    /// there was any to give. Safe to call from many threads; only the first
    /// call gives.
    bool release();

  private:
    std::filesystem::path file_;
    std::atomic<bool> held_{false};
};

}  // namespace velmora
