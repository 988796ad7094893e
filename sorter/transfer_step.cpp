// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer_step.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "file_copy.h"
#include "full_disks.h"
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
    TransferOutcome outcome;
    outcome.failure = std::move(reason);
    return outcome;
}

TransferOutcome failed(FailureCode code) {
    return failed(failureOf(code));
}

TransferOutcome succeeded(const Step& step, const std::string& name) {
    TransferOutcome outcome;
    outcome.succeeded = true;
    outcome.size = step.source.st_size;
    outcome.destination = step.to.name + '/' + name;
    return outcome;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

/// The failure of a write into the destination with `failure`; a full disk
/// is noted, so that the photos still bound for it fail at once.
TransferOutcome failedWriting(const Step& step, Failure failure) {
    if (failure.code == FailureCode::DiskFull)
        noteDiskFull(step.to.publish->device());
    return failed(std::move(failure));
}

/// Copies the photo open as `in` into the destination under the first free
/// name, which goes to `claimedName`.
TransferOutcome copyOpened(const Step& step, int in, CopyCheck check,
                           std::string* claimedName = nullptr) {
    if (isDiskFull(step.to.publish->device()))
        return failed(FailureCode::DiskFull);
    CopyOutcome copy =
        copyToFreeName(in, step.source, step.source.st_mode, *step.to.publish, step.name, check);
    if (!copy.name)
        return failedWriting(step, std::move(copy.failure));
    if (claimedName != nullptr)
        *claimedName = *copy.name;
    return succeeded(step, *copy.name);
}

TransferOutcome copyPhoto(Step& step) {
    const OpenedFile in = openRegularFile(step.from, step.name);
    if (!in.fd)
        return failed(in.failure);
    step.source = in.info;
    return copyOpened(step, in.fd.get(), CopyCheck::None);
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

/// Removes the source, open as `in`, of a photo whose whole copy is in the
/// destination, unless it changed since it was read. Gives why it stays, if
/// it does.
std::optional<Failure> removeCopiedSource(const Step& step, int in) {
    // The copy's name must be on disk before the only other copy goes. A
    // file system that cannot sync a folder says EINVAL.
    if (::fsync(step.to.folder.handle.get()) != 0 && errno != EINVAL)
        return failureFromErrno(errno);
    // Looked at last, just before it goes, to leave a writer the least time.
    struct stat now;
    if (::fstat(in, &now) != 0)
        return failureFromErrno(errno);  // a card pulled out, most likely
    if (!unchangedSince(step.source, now))
        return failureOf(FailureCode::Changed);
    struct stat named;
    if (::fstatat(step.from, step.name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0)
        return sourceFailureFromErrno(errno);
    if (!sameFile(named, now))
        return failureOf(FailureCode::Changed);
    if (::unlinkat(step.from, step.name.c_str(), 0) != 0)
        return failureFromErrno(errno);
    return std::nullopt;
}

/// The name, among the taken names of the free-name sequence of the photo
/// in the destination, of a regular file with exactly the photo's bytes: a
/// copy a killed move left before it could remove the source.
std::optional<std::string> identicalCopy(const Step& step, int in) {
    const int folder = step.to.folder.handle.get();
    return findTakenName(folder, step.name, [&](const std::string& name) {
        struct stat info;
        if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || info.st_size != step.source.st_size ||
            sameFile(info, step.source))
            return false;
        const UniqueFd copy(
            ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        return copy && sameContent(in, copy.get(), info.st_size);
    });
}

/// The move where a rename cannot do it: a synced copy, read back and
/// compared, then the source goes, provided it is still the photo that was
/// copied, unchanged. A byte-identical copy already in the destination
/// (left by a move killed before it could remove the source) is taken for
/// this one.
TransferOutcome moveByCopy(Step& step) {
    const OpenedFile in = openRegularFile(step.from, step.name);
    if (!in.fd)
        return failed(in.failure);
    if (!sameFile(in.info, step.source))
        return failed(FailureCode::Changed);
    step.source = in.info;
    if (const auto copy = identicalCopy(step, in.fd.get())) {
        if (const auto kept = removeCopiedSource(step, in.fd.get()))
            return failed(*kept);
        return succeeded(step, *copy);
    }
    std::string copyName;
    TransferOutcome outcome =
        copyOpened(step, in.fd.get(), CopyCheck::SyncedAndCompared, &copyName);
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
    PublishFolder& folder = *step.to.publish;
    bool needsCopy = false;
    int error = 0;
    const auto claimed = claimFreeName(folder.fd(), step.name, [&](const auto& name) {
        const ClaimResult result =
            folder.moveIn(step.from, step.name.c_str(), name, step.source.st_size);
        if (result == ClaimResult::Failed) {
            error = errno;
            needsCopy = errno == EXDEV;
        }
        return result;
    });
    if (claimed)
        return succeeded(step, *claimed);
    if (!needsCopy) {
        const bool sourceGone = error == ENOENT && ::faccessat(step.from, step.name.c_str(), F_OK,
                                                               AT_SYMLINK_NOFOLLOW) != 0;
        if (sourceGone)
            return failed(FailureCode::Missing);
        return failed(nameFailure(folder, error != 0 ? error : errno));
    }
    if (crossDevice == CrossDevice::Leave) {
        TransferOutcome outcome;
        outcome.needsCopy = true;
        return outcome;
    }
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
        return failed(sourceFailureFromErrno(errno));
    Step step{from, std::string(split.name), destination, {}};
    return copy ? copyPhoto(step) : movePhoto(step, crossDevice);
}

}  // namespace velmora
