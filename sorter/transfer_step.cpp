#include "transfer_step.h"

#include <sys/stat.h>

#include <filesystem>

#include "file_copy.h"
#include "number_from_name.h"
#include "unique_destination.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

std::int64_t sizeOf(const fs::path& file) {
    struct stat info;
    return ::stat(file.c_str(), &info) == 0 ? static_cast<std::int64_t>(info.st_size) : 0;
}

ClaimResult asClaim(TransferResult result) {
    switch (result) {
        case TransferResult::Done:
            return ClaimResult::Claimed;
        case TransferResult::DestinationTaken:
            return ClaimResult::Taken;
        case TransferResult::Failed:
            break;
    }
    return ClaimResult::Failed;
}

}  // namespace

TransferOutcome transferListedPhoto(const std::string& listedPath, std::size_t k,
                                    const DestinationFolders& folders, bool copy) {
    const std::string_view name = std::string_view(listedPath).substr(listedPath.rfind('/') + 1);
    const auto number = numberFromName(name);
    if (!number)
        return {};

    const fs::path from(listedPath);
    const fs::path wanted = folders.folderFor(*number, k) / name;
    const std::int64_t size = sizeOf(from);
    const auto transfer = [&](const fs::path& to) {
        return asClaim(copy ? copyFileNoReplace(from, to) : moveFileNoReplace(from, to));
    };
    if (!claimFreeName(wanted, transfer))
        return {};
    return {true, size};
}

}  // namespace velmora
