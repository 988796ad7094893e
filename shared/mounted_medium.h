// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Real file systems that tests mount for themselves: the kernel's own on loop
// images, the FUSE drivers of camera cards and USB drives, a size-limited
// tmpfs, and a pass-through that fails chosen operations.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "test_support.h"

namespace velmora::testkit {

enum class Medium { tmpfs, ext4, xfs, btrfs, exfat, fat32, ntfs, ntfsWindowsNames };

/// Every medium, in the order above.
const std::vector<Medium>& allMedia();

/// A short name for test output: "tmpfs", "exfat", "ntfs-windows-names", …
std::string_view mediumName(Medium medium);

/// A medium mounted on a fresh folder for the life of the object, then
/// unmounted and its image removed.
class MountedMedium {
  public:
    /// Mounts an empty `medium` of `megabytes` (a tmpfs is limited to that
    /// size). When it cannot (not root, no loop device or /dev/fuse, a
    /// driver or mkfs missing), mounted() is false and whyNot() says why.
    MountedMedium(Medium medium, int megabytes = 96);
    ~MountedMedium();
    MountedMedium(const MountedMedium&) = delete;
    MountedMedium& operator=(const MountedMedium&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& whyNot() const { return whyNot_; }
    /// The mount point.
    const std::filesystem::path& path() const { return mountPoint_; }
    std::filesystem::path operator/(const std::filesystem::path& child) const {
        return mountPoint_ / child;
    }

  private:
    bool setUp(Medium medium, int megabytes);

    TempDir dir_;
    std::filesystem::path mountPoint_;
    std::string loopDevice_;
    bool mounted_ = false;
    std::string whyNot_;
};

/// The fault-injecting pass-through (velmora-faultyfs) of a backing folder,
/// mounted on a fresh folder for the life of the object.
class FaultyMount {
  public:
    /// Shows `backing` with `rules` (see velmora-faultyfs). When it cannot
    /// mount, mounted() is false and whyNot() says why.
    FaultyMount(const std::filesystem::path& backing, const std::vector<std::string>& rules);
    ~FaultyMount();
    FaultyMount(const FaultyMount&) = delete;
    FaultyMount& operator=(const FaultyMount&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& whyNot() const { return whyNot_; }
    const std::filesystem::path& path() const { return mountPoint_; }
    std::filesystem::path operator/(const std::filesystem::path& child) const {
        return mountPoint_ / child;
    }

  private:
    TempDir dir_;
    std::filesystem::path mountPoint_;
    pid_t pid_ = -1;
    bool mounted_ = false;
    std::string whyNot_;
};

/// Shows the folder `what` at `where` too (a bind mount, as when a card is
/// mounted inside a photo folder); gives "" or why it could not.
/// Unmount with unmount().
std::string bind(const std::filesystem::path& what, const std::filesystem::path& where);

/// Mounts `what` on `where` as a bind mount made read-only; false (with the
/// reason in `whyNot`) when it cannot. Unmount with unmount().
bool bindReadOnly(const std::filesystem::path& what, const std::filesystem::path& where,
                  std::string& whyNot);

/// Unmounts `where`, lazily when it is busy.
void unmount(const std::filesystem::path& where);

/// Why mounting file systems is impossible here, or "" when it is possible:
/// only root may mount.
std::string whyNoMounts();

}  // namespace velmora::testkit
