#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "sort_settings.h"

namespace velmora {

/// The name of destination folder `index` (0-based) of a parity (0 even,
/// anything else odd) that has `count` folders: "GENAP" or "GANJIL" alone
/// when count is 1, else with "_" and index + 1 in at least two digits
/// ("GANJIL_01" to "GANJIL_08").
std::string folderName(int parity, std::int64_t index, std::int64_t count);

/// The folder in `settings.source` that receives a photo numbered `number`
/// (not negative) found at position `k` of the whole work list: among the
/// folders of its parity, the one at k modulo their count.
std::filesystem::path destinationFolder(const SortSettings& settings, std::int64_t number,
                                        std::size_t k);

/// Creates every odd folder, then every even folder, in `settings.source`,
/// with any missing parents. Failures are left for the transfers to meet.
void createDestinationFolders(const SortSettings& settings);

}  // namespace velmora
