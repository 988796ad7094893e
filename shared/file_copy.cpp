#include "file_copy.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>

namespace velmora {

namespace {

bool kernelCopyRefused(int error) {
    return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP ||
           error == EBADF;
}

bool hardLinksRefused(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == EMLINK || error == EXDEV;
}

bool unnamedFilesRefused(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

/// Copies `length` bytes at `offset` from `in` to `out` with pread and pwrite.
bool copyRangeByReadWrite(int in, int out, off_t offset, off_t length) {
    constexpr std::size_t kBufferSize = 1 << 20;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
    while (length > 0) {
        const ssize_t got = ::pread(in, buffer.get(), std::min<off_t>(length, kBufferSize), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got == 0)
                errno = ENODATA;  // the source became shorter
            return false;
        }
        for (ssize_t put = 0; put < got;) {
            const ssize_t written = ::pwrite(out, buffer.get() + put, got - put, offset + put);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            put += written;
        }
        offset += got;
        length -= got;
    }
    return true;
}

/// Copies `length` bytes at `offset` from `in` to the same offset of `out`.
bool copyRange(int in, int out, off_t offset, off_t length) {
    loff_t inAt = offset, outAt = offset;
    while (length > 0) {
        const ssize_t n = ::copy_file_range(in, &inAt, out, &outAt, std::size_t(length), 0);
        if (n > 0) {
            length -= n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // 0 before the end: some file systems (procfs and the like) report
        // no data they do hold; read and write tells a truly short source.
        if (n == 0 || kernelCopyRefused(errno))
            return copyRangeByReadWrite(in, out, inAt, length);
        return false;
    }
    return true;
}

}  // namespace

ClaimResult renameNoReplace(int fromFolder, const char* fromName, int toFolder,
                            const char* toName) {
    if (::renameat2(fromFolder, fromName, toFolder, toName, RENAME_NOREPLACE) == 0)
        return ClaimResult::Claimed;
    if (errno == EEXIST)
        return ClaimResult::Taken;
    // EINVAL: this file system does not know RENAME_NOREPLACE (NFS, FUSE).
    if (errno != EINVAL)
        return ClaimResult::Failed;
    if (::linkat(fromFolder, fromName, toFolder, toName, 0) != 0) {
        if (errno == EEXIST)
            return ClaimResult::Taken;
        if (hardLinksRefused(errno))
            errno = EXDEV;
        return ClaimResult::Failed;
    }
    if (::unlinkat(fromFolder, fromName, 0) == 0)
        return ClaimResult::Claimed;
    // Both names lead to the same file: dropping the new one loses nothing.
    const int error = errno;
    ::unlinkat(toFolder, toName, 0);
    errno = error;
    return ClaimResult::Failed;
}

bool copyFileData(int in, int out, off_t size) {
    off_t at = 0;
    while (at < size) {
        off_t data = ::lseek(in, at, SEEK_DATA);
        off_t hole = size;
        if (data < 0) {
            if (errno == ENXIO)
                break;  // nothing but a hole up to the end
            if (errno != EINVAL && errno != EOPNOTSUPP)
                return false;
            data = at;  // the file system keeps no map of holes: all is data
        } else {
            hole = std::min(size, ::lseek(in, data, SEEK_HOLE));
            if (hole < data)
                hole = size;
        }
        if (data >= size)
            break;
        if (!copyRange(in, out, data, hole - data))
            return false;
        at = hole;
    }
    // A source cut short meanwhile would otherwise end in a made-up hole.
    struct stat now;
    if (::fstat(in, &now) != 0)
        return false;
    if (now.st_size < size) {
        errno = ENODATA;
        return false;
    }
    return ::ftruncate(out, size) == 0;
}

void keepAttributes(int fd, mode_t mode, const struct stat& source) {
    (void)::fchmod(fd, mode & 0777);
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    (void)::futimens(fd, times);
}

PendingFile::PendingFile(int folder, TemporaryArea& area) : folder_(folder) {
    fd_ = UniqueFd(::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (fd_ || !unnamedFilesRefused(errno))
        return;
    areaFolder_ = area.folder();
    if (areaFolder_ < 0)
        return;
    areaName_ = area.newName();
    fd_ = UniqueFd(
        ::openat(areaFolder_, areaName_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!fd_)
        areaName_.clear();  // nothing was made to remove
}

PendingFile::~PendingFile() {
    if (!published_ && !areaName_.empty())
        ::unlinkat(areaFolder_, areaName_.c_str(), 0);
}

ClaimResult PendingFile::publish(const std::string& name) {
    ClaimResult result;
    if (areaName_.empty()) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
        result = ::linkat(AT_FDCWD, self.c_str(), folder_, name.c_str(), AT_SYMLINK_FOLLOW) == 0
                     ? ClaimResult::Claimed
                 : errno == EEXIST ? ClaimResult::Taken
                                   : ClaimResult::Failed;
    } else {
        // A network file system may report a failed write only as the file
        // is closed: a file not written whole gets no name.
        if (!fd_.close())
            return ClaimResult::Failed;
        result = renameNoReplace(areaFolder_, areaName_.c_str(), folder_, name.c_str());
    }
    published_ = result == ClaimResult::Claimed;
    return result;
}

std::optional<std::string> copyToFreeName(int in, const struct stat& source, mode_t mode,
                                          int folder, TemporaryArea& area,
                                          const std::string& wanted, CopySync sync) {
    PendingFile copy(folder, area);
    if (!copy.valid() || !copyFileData(in, copy.fd(), source.st_size))
        return std::nullopt;
    keepAttributes(copy.fd(), mode, source);
    if (sync == CopySync::Synced && ::fsync(copy.fd()) != 0)
        return std::nullopt;
    return claimFreeName(folder, wanted, [&](const auto& name) { return copy.publish(name); });
}

}  // namespace velmora
