#include "destination_folder.h"

#include <fcntl.h>

#include <system_error>

#include "job_protocol.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

std::vector<DestinationFolder> folders(const fs::path& source, int parity, std::int64_t count) {
    std::vector<DestinationFolder> folders;
    for (std::int64_t i = 0; i < count; ++i) {
        folders.push_back({source / job::folderName(parity, i, count), UniqueFd()});
    }
    return folders;
}

void createAndOpen(DestinationFolder& folder) {
    std::error_code ignored;
    fs::create_directories(folder.path, ignored);
    folder.handle = UniqueFd(::open(folder.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

}  // namespace

DestinationFolders::DestinationFolders(const SortSettings& settings)
    : odd(folders(settings.source, 1, settings.oddFolderCount)),
      even(folders(settings.source, 0, settings.evenFolderCount)) {}

void DestinationFolders::create() {
    for (auto& folder : odd)
        createAndOpen(folder);
    for (auto& folder : even)
        createAndOpen(folder);
}

const DestinationFolder& DestinationFolders::folderFor(std::int64_t number, std::size_t k) const {
    const auto& ofParity = number % 2 == 0 ? even : odd;
    return ofParity[k % ofParity.size()];
}

}  // namespace velmora
