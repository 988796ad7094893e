// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "destination_folder.h"
#include "failure_reason.h"
#include "listed_path.h"

namespace velmora {

/// What one transfer step adds to the run's counters.
struct TransferOutcome {
    bool succeeded = false;
    std::int64_t size = 0;    ///< the photo's size in bytes, read before the transfer
    std::string destination;  ///< where it went, relative to the source folder
    Failure failure;          ///< why it failed
    /// A move asked not to copy met another file system: nothing was
    /// changed and the step is still to be done, by a move that may copy.
    bool needsCopy = false;
};

/// What a move may do when the photo lies on another file system than its
/// destination folder.
enum class CrossDevice {
    Copy,   ///< copy it there, then remove the source
    Leave,  ///< change nothing and report needsCopy
};

/// Copies (`copy`) or moves the photo listed at position `k` into its
/// folder among `folders`, under the first free name of the free-name
/// sequence, never replacing anything; a name taken by a parallel step
/// meanwhile makes it try the next one. Only a regular file is transferred,
/// never a link, folder or other special file, and never a path holding a
/// NUL byte; a name without a number fails, touching nothing. The photo is
/// reached through its folder open in `cache` (this thread's), so paths
/// longer than PATH_MAX work too. A copy, and a move to another file system,
/// appear under their name only once complete (a move's copy synced to disk
/// before the source goes).
TransferOutcome transferListedPhoto(const std::string& listedPath, std::size_t k,
                                    const DestinationFolders& folders, bool copy,
                                    FolderCache& cache,
                                    CrossDevice crossDevice = CrossDevice::Copy);

}  // namespace velmora
