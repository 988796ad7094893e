#include "destination_folder.h"

#include <cstdio>
#include <system_error>

namespace velmora {

namespace fs = std::filesystem;

std::string folderName(int parity, std::int64_t index, std::int64_t count) {
    const std::string base = parity == 0 ? "GENAP" : "GANJIL";
    if (count == 1)
        return base;
    char number[24];
    std::snprintf(number, sizeof number, "%02lld", static_cast<long long>(index + 1));
    return base + "_" + number;
}

fs::path destinationFolder(const SortSettings& settings, std::int64_t number, std::size_t k) {
    const int parity = number % 2 == 0 ? 0 : 1;
    const std::int64_t count = parity == 0 ? settings.evenFolderCount : settings.oddFolderCount;
    const auto index = static_cast<std::int64_t>(k % static_cast<std::uint64_t>(count));
    return settings.source / folderName(parity, index, count);
}

void createDestinationFolders(const SortSettings& settings) {
    std::error_code ignored;
    for (std::int64_t i = 0; i < settings.oddFolderCount; ++i) {
        fs::create_directories(settings.source / folderName(1, i, settings.oddFolderCount),
                               ignored);
    }
    for (std::int64_t i = 0; i < settings.evenFolderCount; ++i) {
        fs::create_directories(settings.source / folderName(0, i, settings.evenFolderCount),
                               ignored);
    }
}

}  // namespace velmora
