#include "destination_folder.h"

#include <cstdio>
#include <system_error>

namespace velmora {

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> folders(const fs::path& source, int parity, std::int64_t count) {
    std::vector<fs::path> paths;
    for (std::int64_t i = 0; i < count; ++i)
        paths.push_back(source / folderName(parity, i, count));
    return paths;
}

}  // namespace

std::string folderName(int parity, std::int64_t index, std::int64_t count) {
    const std::string base = parity == 0 ? "GENAP" : "GANJIL";
    if (count == 1)
        return base;
    char number[24];
    std::snprintf(number, sizeof number, "%02lld", static_cast<long long>(index + 1));
    return base + "_" + number;
}

DestinationFolders::DestinationFolders(const SortSettings& settings)
    : odd(folders(settings.source, 1, settings.oddFolderCount)),
      even(folders(settings.source, 0, settings.evenFolderCount)) {}

void DestinationFolders::create() const {
    std::error_code ignored;
    for (const auto& folder : odd)
        fs::create_directories(folder, ignored);
    for (const auto& folder : even)
        fs::create_directories(folder, ignored);
}

const fs::path& DestinationFolders::folderFor(std::int64_t number, std::size_t k) const {
    const auto& ofParity = number % 2 == 0 ? even : odd;
    return ofParity[k % ofParity.size()];
}

}  // namespace velmora
