#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "destination_folder.h"

namespace velmora {

/// What one transfer step adds to the run's counters.
struct TransferOutcome {
    bool succeeded = false;
    std::int64_t size = 0;  ///< the transferred file's size in bytes
};

/// Copies (`copy`) or moves the photo listed at position `k` into its
/// folder among `folders`, under the first free name of the free-name
/// sequence, never replacing anything; a name taken by a parallel step
/// meanwhile makes it try the next one. Fails, touching nothing, when the
/// file name carries no number.
TransferOutcome transferListedPhoto(const std::string& listedPath, std::size_t k,
                                    const DestinationFolders& folders, bool copy);

}  // namespace velmora
