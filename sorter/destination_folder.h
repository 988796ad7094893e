#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "file_io.h"
#include "sort_settings.h"

namespace velmora {

/// The name of destination folder `index` (0-based) of a parity (0 even,
/// anything else odd) that has `count` folders: "GENAP" or "GANJIL" alone
/// when count is 1, else with "_" and index + 1 in at least two digits
/// ("GANJIL_01" to "GANJIL_08").
std::string folderName(int parity, std::int64_t index, std::int64_t count);

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
