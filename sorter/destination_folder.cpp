// SPDX-License-Identifier: GPL-3.0-or-later
#include "destination_folder.h"

#include "job_protocol.h"

namespace velmora {

namespace {

std::vector<DestinationFolder> folders(int parity, std::int64_t count) {
    std::vector<DestinationFolder> folders;
    for (std::int64_t i = 0; i < count; ++i) {
        folders.emplace_back();
        folders.back().name = job::folderName(parity, i, count);
    }
    return folders;
}

void makeAndOpen(const WorkerFolder& source, DestinationFolder& destination) {
    destination.folder = makeWorkerFolder(source, destination.name, "destination folder");
    if (!destination.folder.handle)
        return;
    TemporaryArea::removeLeftovers(destination.folder.handle.get());
    destination.publish = std::make_unique<PublishFolder>(destination.folder.handle.get());
}

}  // namespace

DestinationFolders::DestinationFolders(const SortSettings& settings)
    : source(settings.source.string()),
      odd(folders(1, settings.oddFolderCount)),
      even(folders(0, settings.evenFolderCount)) {}

FolderSetUp DestinationFolders::create() {
    if (isOnReadOnlyFileSystem(source))
        return FolderSetUp::ReadOnly;
    const WorkerFolder sourceFolder = openPhotoFolder(source);
    if (sourceFolder.failure.code == FailureCode::ReadOnly)
        return FolderSetUp::ReadOnly;
    for (auto* parity : {&odd, &even}) {
        for (auto& folder : *parity) {
            makeAndOpen(sourceFolder, folder);
            if (folder.folder.failure.code == FailureCode::ReadOnly ||
                (folder.folder.handle && !takesWrites(folder.folder.handle.get())))
                return FolderSetUp::ReadOnly;
        }
    }
    return FolderSetUp::Made;
}

const DestinationFolder& DestinationFolders::folderFor(std::int64_t number, std::size_t k) const {
    const auto& ofParity = number % 2 == 0 ? even : odd;
    return ofParity[k % ofParity.size()];
}

}  // namespace velmora
