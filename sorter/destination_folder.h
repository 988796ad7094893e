#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "file_io.h"
#include "sort_settings.h"

namespace velmora {

/// One destination folder: its path and, once created, its open handle.
struct DestinationFolder {
    std::filesystem::path path;
    UniqueFd handle;  ///< invalid until created, or when it cannot be opened
};

/// The odd and even destination folders of a run, inside its source folder.
class DestinationFolders {
  public:
    explicit DestinationFolders(const SortSettings& settings);

    /// Creates every odd folder, then every even folder, with any missing
    /// parents, and opens each. Failures are left for the transfers to meet:
    /// nothing can be put into a folder without a handle.
    void create();

    /// The folder that receives a photo numbered `number` (not negative)
    /// found at position `k` of the whole work list: among the folders of
    /// its parity, the one at k modulo their count.
    const DestinationFolder& folderFor(std::int64_t number, std::size_t k) const;

  private:
    std::vector<DestinationFolder> odd;
    std::vector<DestinationFolder> even;
};

}  // namespace velmora
