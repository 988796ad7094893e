#include "transfer_step.h"

#include <sys/stat.h>

#include <filesystem>

#include "destination_folder.h"
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
                                    const SortSettings& settings) {
    const fs::path from(listedPath);
    const fs::path name = from.filename();
    const auto number = numberFromName(name.native());
    if (!number)
        return {};

    const fs::path wanted = destinationFolder(settings, *number, k) / name;
    const std::int64_t size = sizeOf(from);
    const auto transfer = [&](const fs::path& to) {
        return asClaim(settings.copy ? copyFileNoReplace(from, to) : moveFileNoReplace(from, to));
    };
    if (!claimFreeName(wanted, transfer))
        return {};
    return {true, size};
}

}  // namespace velmora
