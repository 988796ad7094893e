#include "transfer_step.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "file_copy.h"
#include "unicode_numeric_run.h"
#include "unique_destination.h"

namespace velmora {

namespace {

/// Where one step stands: the photo's folder and name, and its destination.
struct Step {
    int from;          ///< folder of the listed photo
    std::string name;  ///< the photo's name in it, which it keeps
    const DestinationFolder& to;
    struct stat source;  ///< the photo as it was before the transfer
};

TransferOutcome failed(Failure reason) {
    return {false, 0, std::move(reason)};
}

TransferOutcome failed(FailureCode code) {
    return failed(failureOf(code));
}

TransferOutcome failedWithError() {
    return failed(failureFromErrno(errno));
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

/// Copies the photo open as `in` into the destination under the first free
/// name, which goes to `claimedName`.
TransferOutcome copyOpened(const Step& step, int in, CopySync sync,
                           std::string* claimedName = nullptr) {
    const auto claimed =
        copyToFreeName(in, step.source, step.source.st_mode, step.to.folder.handle.get(),
                       *step.to.area, step.name, sync);
    if (!claimed)
        return failedWithError();
    if (claimedName != nullptr)
        *claimedName = *claimed;
    return {true, step.source.st_size, {}};
}

TransferOutcome copyPhoto(Step& step) {
    const OpenedFile in = openRegularFile(step.from, step.name);
    if (!in.fd)
        return failed(in.failure);
    step.source = in.info;
    return copyOpened(step, in.fd.get(), CopySync::Unsynced);
}

/// True when the file, seen as `before` and then `now`, kept its content:
/// the same file, the same size, not written to in between.
bool unchangedSince(const struct stat& before, const struct stat& now) {
    const auto same = [](const timespec& a, const timespec& b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    };
    return sameFile(before, now) && before.st_size == now.st_size &&
           same(before.st_mtim, now.st_mtim) && same(before.st_ctim, now.st_ctim);
}

/// Removes the source of a finished, synced copy of it, open as `in`,
/// unless it changed since the copy began. Gives why it stays, if it does.
std::optional<Failure> removeCopiedSource(const Step& step, int in) {
    struct stat now;
    if (::fstat(in, &now) != 0 || !unchangedSince(step.source, now))
        return failureOf(FailureCode::Changed);
    // The copy's name must be on disk before the only other copy goes. A
    // file system that cannot sync a folder says EINVAL.
    if (::fsync(step.to.folder.handle.get()) != 0 && errno != EINVAL)
        return failureFromErrno(errno);
    struct stat named;
    if (::fstatat(step.from, step.name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        !sameFile(named, now))
        return failureOf(FailureCode::Changed);
    if (::unlinkat(step.from, step.name.c_str(), 0) != 0)
        return failureFromErrno(errno);
    return std::nullopt;
}

/// The move where a rename cannot do it: a synced copy, then the source
/// goes, provided it is still the photo that was copied, unchanged.
TransferOutcome moveByCopy(Step& step) {
    const OpenedFile in = openRegularFile(step.from, step.name);
    if (!in.fd)
        return failed(in.failure);
    if (!sameFile(in.info, step.source))
        return failed(FailureCode::Changed);
    step.source = in.info;
    std::string copyName;
    TransferOutcome outcome = copyOpened(step, in.fd.get(), CopySync::Synced, &copyName);
    if (!outcome.succeeded)
        return outcome;
    const std::optional<Failure> kept = removeCopiedSource(step, in.fd.get());
    if (!kept)
        return outcome;
    // The source stays, so the copy would be a second photo: take it back.
    ::unlinkat(step.to.folder.handle.get(), copyName.c_str(), 0);
    return failed(*kept);
}

TransferOutcome movePhoto(Step& step, CrossDevice crossDevice) {
    if (::fstatat(step.from, step.name.c_str(), &step.source, AT_SYMLINK_NOFOLLOW) != 0)
        return failed(sourceFailureFromErrno(errno));
    if (!S_ISREG(step.source.st_mode))
        return failed(FailureCode::NotRegularFile);
    const int folder = step.to.folder.handle.get();
    bool needsCopy = false;
    const auto claimed = claimFreeName(folder, step.name, [&](const auto& name) {
        const ClaimResult result =
            renameNoReplace(step.from, step.name.c_str(), folder, name.c_str());
        needsCopy = result == ClaimResult::Failed && errno == EXDEV;
        return result;
    });
    if (claimed)
        return {true, step.source.st_size, {}};
    if (!needsCopy)
        return failedWithError();
    if (crossDevice == CrossDevice::Leave)
        return {false, 0, {}, true};
    return moveByCopy(step);
}

}  // namespace

TransferOutcome transferListedPhoto(const std::string& listedPath, std::size_t k,
                                    const DestinationFolders& folders, bool copy,
                                    FolderCache& cache, CrossDevice crossDevice) {
    // A NUL would cut the path short and name a different file.
    if (listedPath.find('\0') != std::string::npos)
        return failed(FailureCode::NulInPath);
    const ListedPath split = splitListedPath(listedPath);
    const auto number = numberFromUnicodeNumericRun(split.name);
    if (!number)
        return failed(FailureCode::NoNumber);
    const DestinationFolder& destination = folders.folderFor(*number, k);
    if (!destination.folder.handle)
        return failed(destination.folder.failure);
    const int from = cache.open(split.folder);
    if (from < 0)
        return failedWithError();
    Step step{from, std::string(split.name), destination, {}};
    return copy ? copyPhoto(step) : movePhoto(step, crossDevice);
}

}  // namespace velmora
