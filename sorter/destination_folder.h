#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sort_settings.h"
#include "temporary_area.h"
#include "worker_folder.h"

namespace velmora {

/// One destination folder: its name in the source folder and, once made,
/// its handle, or why it cannot be used; and the temporary area for copies
/// on file systems without unnamed files.
struct DestinationFolder {
    std::string name;
    WorkerFolder folder;
    std::unique_ptr<TemporaryArea> area;
};

/// The odd and even destination folders of a run, inside its source folder.
class DestinationFolders {
  public:
    explicit DestinationFolders(const SortSettings& settings);

    /// Makes the source folder with any missing parents, then every odd
    /// folder and every even folder inside it, and opens each without
    /// following a link (makeWorkerFolder); removes in each the temporary
    /// areas that killed runs left. Failures are left for the transfers to
    /// meet: nothing can be put into a folder without a handle.
    void create();

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
