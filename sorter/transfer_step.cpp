#include "transfer_step.h"

#include <sys/stat.h>

#include <filesystem>

#include "file_copy.h"
#include "unicode_numeric_run.h"
#include "unique_destination.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

/// The size of `name` in `folder`, or 0 when it cannot be read.
std::int64_t sizeIn(int folder, const fs::path& name) {
    struct stat info;
    return ::fstatat(folder, name.c_str(), &info, 0) == 0 ? static_cast<std::int64_t>(info.st_size)
                                                          : 0;
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
    const auto number = numberFromUnicodeNumericRun(name);
    if (!number)
        return {};

    const fs::path from(listedPath);
    const int folder = folders.folderFor(*number, k).handle.get();
    const auto transfer = [&](const fs::path& to) {
        return asClaim(copy ? copyFileNoReplace(from, folder, to)
                            : moveFileNoReplace(from, folder, to));
    };
    const auto claimed = claimFreeName(folder, fs::path(name), transfer);
    if (!claimed)
        return {};
    // Read where the photo arrived: the same file, or a complete copy of it,
    // one folder lookup away instead of a walk down the listed path.
    return {true, sizeIn(folder, *claimed)};
}

}  // namespace velmora
