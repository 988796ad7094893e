// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "publish_folder.h"
#include "sort_settings.h"
#include "worker_folder.h"

namespace velmora {

/// One destination folder: its name in the source folder and, once made,
/// its handle, or why it cannot be used; and how files get their names in
/// it.
struct DestinationFolder {
    std::string name;
    WorkerFolder folder;
    std::unique_ptr<PublishFolder> publish;
};

/// What the making of the destination folders found.
enum class FolderSetUp {
    Made,      ///< folders made (those that could not be fail their photos)
    ReadOnly,  ///< the source folder's file system takes no writes: nothing was made
};

/// The odd and even destination folders of a run, inside its source folder.
class DestinationFolders {
  public:
    explicit DestinationFolders(const SortSettings& settings);

    /// Makes the source folder with any missing parents, then every odd
    /// folder and every even folder inside it, and opens each without
    /// following a link (makeWorkerFolder); removes in each the temporary
    /// areas and empty placeholders that killed runs left. Failures are left
    /// for the transfers to meet: nothing can be put into a folder without a
    /// handle. A source folder on a read-only file system (found before any
    /// folder is made, or by the first folder or file that cannot be made)
    /// gives ReadOnly.
    FolderSetUp create();

    /// The folder that receives a photo numbered `number` (not negative)
    /// found at position `k` of the whole work list: among the folders of
    /// its parity, the one at k modulo their count.
    const DestinationFolder& folderFor(std::int64_t number, std::size_t k) const;

  private:
    std::string source;
    std::vector<DestinationFolder> odd;
    std::vector<DestinationFolder> even;
};

}  // namespace velmora
