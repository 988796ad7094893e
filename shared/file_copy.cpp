#include "file_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "file_io.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

bool kernelCopyRefused(int error) {
    return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP ||
           error == EBADF;
}

bool hardLinksRefused(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == EMLINK || error == EXDEV;
}

/// Copies from the current offset of `in` to that of `out` with read and write.
bool copyByReadWrite(int in, int out) {
    constexpr std::size_t kBufferSize = 1 << 20;
    const auto buffer = std::make_unique<char[]>(kBufferSize);
    for (;;) {
        const ssize_t got = ::read(in, buffer.get(), kBufferSize);
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (!writeAll(out, {buffer.get(), static_cast<std::size_t>(got)}))
            return false;
    }
}

/// Copies all data of `in` (whose attributes are `source`) to `out`.
bool copyData(int in, int out, const struct stat& source) {
    constexpr std::size_t kChunk = std::size_t(1) << 30;
    off_t copied = 0;
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, kChunk, 0);
        if (n > 0) {
            copied += n;
            continue;
        }
        // Some file systems (procfs, sysfs and the like) report 0 for data
        // they do hold; read those the plain way.
        if (n == 0)
            return copied > 0 || source.st_size == 0 || copyByReadWrite(in, out);
        if (errno == EINTR)
            continue;
        if (kernelCopyRefused(errno))
            return copyByReadWrite(in, out);
        return false;
    }
}

/// Gives `fd` the permission bits and times of `source`. Best effort: a
/// file system that cannot hold them (vfat) still gets the data. Set-user
/// and set-group bits are not carried, since the owner is not.
void keepAttributes(int fd, const struct stat& source) {
    (void)::fchmod(fd, source.st_mode & 0777);
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    (void)::futimens(fd, times);
}

/// Opens a source for reading; a FIFO or device does not block the open,
/// and is refused afterwards for not being a regular file.
int openSource(const fs::path& from) {
    return ::open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

/// Makes the entry of a new file in `folder` (or, for AT_FDCWD, in the
/// folder of the path `name`) survive a power cut.
void syncFolder(int folder, const fs::path& name) {
    if (folder != AT_FDCWD) {
        (void)::fsync(folder);
        return;
    }
    const fs::path parent = name.has_parent_path() ? name.parent_path() : fs::path(".");
    const UniqueFd fd(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd)
        (void)::fsync(fd.get());
}

/// How the copy paths treat the new file before calling it done.
enum class Durability { Normal, Synced };

TransferResult copyExclusively(const fs::path& from, int folder, const fs::path& name,
                               Durability durability) {
    const UniqueFd in(openSource(from));
    struct stat source;
    if (!in || ::fstat(in.get(), &source) != 0 || !S_ISREG(source.st_mode)) {
        return TransferResult::Failed;
    }
    UniqueFd out(::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          source.st_mode & 0777));
    if (!out)
        return errno == EEXIST ? TransferResult::DestinationTaken : TransferResult::Failed;

    bool complete = copyData(in.get(), out.get(), source);
    if (complete)
        keepAttributes(out.get(), source);
    if (complete && durability == Durability::Synced)
        complete = ::fsync(out.get()) == 0;
    complete = out.close() && complete;
    if (complete && durability == Durability::Synced)
        syncFolder(folder, name);
    if (complete)
        return TransferResult::Done;
    ::unlinkat(folder, name.c_str(), 0);
    return TransferResult::Failed;
}

std::optional<TransferResult> moveByLinkAt(const fs::path& from, int folder, const fs::path& name) {
    if (::linkat(AT_FDCWD, from.c_str(), folder, name.c_str(), 0) != 0) {
        if (errno == EEXIST)
            return TransferResult::DestinationTaken;
        if (hardLinksRefused(errno))
            return std::nullopt;
        return TransferResult::Failed;
    }
    if (::unlink(from.c_str()) == 0)
        return TransferResult::Done;
    // Both names lead to the same file: dropping the new one loses nothing.
    ::unlinkat(folder, name.c_str(), 0);
    return TransferResult::Failed;
}

TransferResult moveByCopyAt(const fs::path& from, int folder, const fs::path& name) {
    const TransferResult copied = copyExclusively(from, folder, name, Durability::Synced);
    if (copied != TransferResult::Done)
        return copied;
    if (::unlink(from.c_str()) == 0)
        return TransferResult::Done;
    // The source stays, so the copy would be a second photo: take it back.
    ::unlinkat(folder, name.c_str(), 0);
    return TransferResult::Failed;
}

}  // namespace

TransferResult copyFileNoReplace(const fs::path& from, const fs::path& to) {
    return copyFileNoReplace(from, AT_FDCWD, to);
}

TransferResult copyFileNoReplace(const fs::path& from, int folder, const fs::path& name) {
    return copyExclusively(from, folder, name, Durability::Normal);
}

TransferResult moveFileNoReplace(const fs::path& from, const fs::path& to) {
    return moveFileNoReplace(from, AT_FDCWD, to);
}

TransferResult moveFileNoReplace(const fs::path& from, int folder, const fs::path& name) {
    if (::renameat2(AT_FDCWD, from.c_str(), folder, name.c_str(), RENAME_NOREPLACE) == 0) {
        return TransferResult::Done;
    }
    const int error = errno;
    if (error == EEXIST)
        return TransferResult::DestinationTaken;
    // EINVAL: this file system does not know RENAME_NOREPLACE (NFS, FUSE).
    if (error == EINVAL) {
        if (const auto linked = moveByLinkAt(from, folder, name))
            return *linked;
        return moveByCopyAt(from, folder, name);
    }
    if (error == EXDEV)
        return moveByCopyAt(from, folder, name);
    return TransferResult::Failed;
}

std::optional<TransferResult> moveByLink(const fs::path& from, const fs::path& to) {
    return moveByLinkAt(from, AT_FDCWD, to);
}

TransferResult moveByCopy(const fs::path& from, const fs::path& to) {
    return moveByCopyAt(from, AT_FDCWD, to);
}

bool copyFileInto(const fs::path& from, int destinationFd) {
    const UniqueFd in(openSource(from));
    struct stat source;
    if (!in || ::fstat(in.get(), &source) != 0 || !S_ISREG(source.st_mode))
        return false;
    if (!copyData(in.get(), destinationFd, source))
        return false;
    keepAttributes(destinationFd, source);
    return true;
}

}  // namespace velmora
