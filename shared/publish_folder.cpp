// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "uuid.h"

namespace velmora {

namespace {

constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;

/// True when `error` from `way` may mean that the file system does not take
/// that way at all (FUSE drivers say EINVAL, ENOSYS or EXDEV for a rename
/// flag they do not know; FAT says EPERM for a hard link).
bool mayRefuse(PublishWay way, int error) {
    switch (way) {
        case PublishWay::UnnamedLink:
        case PublishWay::RenameNoReplace:
            return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == EXDEV;
        case PublishWay::LinkThenUnlink:
            return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK ||
                   error == EXDEV;
        case PublishWay::Placeholder:
            break;
    }
    return false;
}

bool onSameFileSystem(int a, int b) {
    struct stat first, second;
    return ::fstat(a, &first) == 0 && ::fstat(b, &second) == 0 && first.st_dev == second.st_dev;
}

/// Makes the empty file `name` in `folder`; false with errno set.
bool makeEmptyFile(int folder, const std::string& name) {
    const int fd = ::openat(folder, name.c_str(), kCreateFlags, 0600);
    return fd >= 0 && ::close(fd) == 0;
}

/// Removes `name` from `folder` if it is still an empty regular file: a
/// placeholder of ours, not a file someone put there since.
void removeIfEmpty(int folder, const std::string& name) {
    struct stat info;
    if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
        info.st_size == 0)
        ::unlinkat(folder, name.c_str(), 0);
}

ClaimResult claimResultOfError() {
    return errno == EEXIST ? ClaimResult::Taken : ClaimResult::Failed;
}

}  // namespace

PublishFolder::PublishFolder(int folder, PublishWay strongest)
    : folder_(folder),
      area_(folder),
      way_(static_cast<int>(std::max(strongest, PublishWay::RenameNoReplace))),
      unnamed_(strongest == PublishWay::UnnamedLink ? -1 : 0) {
    struct stat info;
    if (::fstat(folder, &info) == 0)
        device_ = info.st_dev;
}

bool PublishFolder::takesUnnamedFiles() {
    const int known = unnamed_.load();
    if (known >= 0)
        return known == 1;
    // The probe needs both halves: an unnamed file, and a way to link it in
    // (through /proc, which a sandbox may lack).
    bool takes = false;
    const UniqueFd probe(::openat(folder_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    const std::string name = ".velmora-probe-" + randomUuidText();
    if (probe && linkUnnamed(probe.get(), name) == ClaimResult::Claimed) {
        ::unlinkat(folder_, name.c_str(), 0);
        takes = true;
    }
    unnamed_.store(takes ? 1 : 0);
    return takes;
}

ClaimResult PublishFolder::linkUnnamed(int fd, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), folder_, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return ClaimResult::Claimed;
    return claimResultOfError();
}

ClaimResult PublishFolder::moveIn(int fromFolder, const char* fromName, const std::string& name,
                                  off_t size) {
    for (;;) {
        const PublishWay tried = way();
        ClaimResult result;
        switch (tried) {
            case PublishWay::Placeholder:
                return placeholderThenRename(fromFolder, fromName, name, size);
            case PublishWay::LinkThenUnlink:
                result = linkThenUnlink(fromFolder, fromName, name);
                break;
            case PublishWay::UnnamedLink:
            case PublishWay::RenameNoReplace:
            default:
                result = renameNoReplace(fromFolder, fromName, name);
                break;
        }
        if (result != ClaimResult::Failed)
            return result;
        const int error = errno;
        // EXDEV between two file systems is the truth: only a copy gets there.
        const bool refused = mayRefuse(tried, error) &&
                             (error != EXDEV || onSameFileSystem(fromFolder, folder_)) &&
                             refusesWay(tried);
        if (!refused) {
            errno = error;
            return ClaimResult::Failed;
        }
        refuse(tried);
    }
}

bool PublishFolder::refusedOnlyTheName(int error) {
    if (error != ENOENT && error != EPERM && error != EINVAL && error != EILSEQ)
        return false;
    struct stat info;
    if (::fstat(folder_, &info) != 0 || info.st_nlink == 0)
        return false;  // the folder itself is gone
    const std::string plain = ".velmora-probe-" + randomUuidText();
    if (!makeEmptyFile(folder_, plain))
        return false;
    ::unlinkat(folder_, plain.c_str(), 0);
    return true;
}

void PublishFolder::refuse(PublishWay way) {
    const int weaker = static_cast<int>(way) + 1;
    int current = way_.load();
    while (current < weaker && !way_.compare_exchange_weak(current, weaker)) {
    }
}

bool PublishFolder::refusesWay(PublishWay way) {
    const int area = area_.folder();
    if (area < 0)
        return false;
    const std::string from = area_.newName(), to = area_.newName();
    if (!makeEmptyFile(area, from))
        return false;
    int result;
    if (way == PublishWay::LinkThenUnlink) {
        result = ::linkat(area, from.c_str(), area, to.c_str(), 0);
    } else {
        result = ::renameat2(area, from.c_str(), area, to.c_str(), RENAME_NOREPLACE);
    }
    const int error = errno;
    ::unlinkat(area, from.c_str(), 0);
    ::unlinkat(area, to.c_str(), 0);
    return result != 0 && mayRefuse(way, error);
}

ClaimResult PublishFolder::renameNoReplace(int fromFolder, const char* fromName,
                                           const std::string& name) {
    if (::renameat2(fromFolder, fromName, folder_, name.c_str(), RENAME_NOREPLACE) == 0)
        return ClaimResult::Claimed;
    return claimResultOfError();
}

ClaimResult PublishFolder::linkThenUnlink(int fromFolder, const char* fromName,
                                          const std::string& name) {
    if (::linkat(fromFolder, fromName, folder_, name.c_str(), 0) != 0)
        return claimResultOfError();
    if (::unlinkat(fromFolder, fromName, 0) == 0)
        return ClaimResult::Claimed;
    // Both names lead to the same file: dropping the new one loses nothing.
    const int error = errno;
    ::unlinkat(folder_, name.c_str(), 0);
    errno = error;
    return ClaimResult::Failed;
}

ClaimResult PublishFolder::placeholderThenRename(int fromFolder, const char* fromName,
                                                 const std::string& name, off_t size) {
    // O_EXCL is what keeps an existing name, in any letter case where the
    // file system ignores case; the plain rename then only ever replaces
    // our own empty, closed placeholder under exactly its name.
    if (!area_.notePlaceholder(name, size))
        return ClaimResult::Failed;
    if (!makeEmptyFile(folder_, name)) {
        const int error = errno;
        area_.withdrawPlaceholder(name);
        if (error == EEXIST)
            return ClaimResult::Taken;
        removeIfEmpty(folder_, name);  // made, but its close failed
        errno = error;
        return ClaimResult::Failed;
    }
    struct stat moving;
    const bool knowsTimes = ::fstatat(fromFolder, fromName, &moving, AT_SYMLINK_NOFOLLOW) == 0;
    if (::renameat(fromFolder, fromName, folder_, name.c_str()) == 0) {
        // fusefat keeps the placeholder's directory entry, and with it the
        // placeholder's times: the file's own go back on.
        if (knowsTimes) {
            const struct timespec times[2] = {moving.st_atim, moving.st_mtim};
            (void)::utimensat(folder_, name.c_str(), times, AT_SYMLINK_NOFOLLOW);
        }
        return ClaimResult::Claimed;
    }
    const int error = errno;
    removeIfEmpty(folder_, name);
    errno = error;
    return ClaimResult::Failed;
}

}  // namespace velmora
