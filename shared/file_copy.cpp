// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_copy.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

namespace velmora {

namespace {

bool kernelCopyRefused(int error) {
    return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP ||
           error == EBADF;
}

/// Reads exactly `length` bytes at `offset` of `fd` into `buffer`; a file
/// that ends first fails with ENODATA.
bool readExactly(int fd, char* buffer, std::size_t length, off_t offset) {
    while (length > 0) {
        const ssize_t got = ::pread(fd, buffer, length, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got == 0)
                errno = ENODATA;
            return false;
        }
        buffer += got;
        length -= std::size_t(got);
        offset += got;
    }
    return true;
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

/// True when the file open as `in` still holds at least `size` bytes.
bool sourceStillHolds(int in, off_t size) {
    struct stat now;
    if (::fstat(in, &now) != 0)
        return false;
    if (now.st_size < size) {
        errno = ENODATA;
        return false;
    }
    return true;
}

/// Makes the file open as `out`, which holds at most `size` bytes, `size`
/// bytes long: a hole at its end where the file system can make one, else
/// zeros written (fusefat refuses to extend a file by truncation).
bool giveLength(int out, off_t size) {
    struct stat info;
    if (::fstat(out, &info) != 0)
        return false;
    if (info.st_size == size || ::ftruncate(out, size) == 0)
        return true;
    const std::string zeros(64 * 1024, '\0');
    for (off_t at = info.st_size; at < size;) {
        const ssize_t written = ::pwrite(
            out, zeros.data(), std::size_t(std::min<off_t>(size - at, off_t(zeros.size()))), at);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        at += written;
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

/// True when the file `info` describes has fewer blocks than its size
/// needs: only then can it hold holes worth keeping.
bool mayHoldHoles(const struct stat& info) {
    return static_cast<off_t>(info.st_blocks) * 512 < info.st_size;
}

}  // namespace

bool copyFileData(int in, int out, off_t size) {
    struct stat info;
    if (::fstat(in, &info) != 0)
        return false;
    if (!mayHoldHoles(info)) {
        if (size > 0 && !copyRange(in, out, 0, size))
            return false;
        return sourceStillHolds(in, size) && giveLength(out, size);
    }
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
    return sourceStillHolds(in, size) && giveLength(out, size);
}

bool sameContent(int a, int b, off_t size) {
    constexpr std::size_t kChunk = 1 << 20;
    const auto first = std::make_unique_for_overwrite<char[]>(kChunk);
    const auto second = std::make_unique_for_overwrite<char[]>(kChunk);
    for (off_t at = 0; at < size;) {
        const std::size_t want = std::size_t(std::min<off_t>(kChunk, size - at));
        if (!readExactly(a, first.get(), want, at) || !readExactly(b, second.get(), want, at))
            return false;
        if (std::memcmp(first.get(), second.get(), want) != 0) {
            errno = 0;
            return false;
        }
        at += off_t(want);
    }
    return true;
}

void keepAttributes(int fd, mode_t mode, const struct stat& source) {
    (void)::fchmod(fd, mode & 0777);
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    (void)::futimens(fd, times);
}

PendingFile::PendingFile(PublishFolder& folder) : folder_(folder) {
    if (folder.takesUnnamedFiles()) {
        fd_ = UniqueFd(::openat(folder.fd(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
        return;
    }
    const int area = folder.area().folder();
    if (area < 0)
        return;
    areaName_ = folder.area().newName();
    fd_ = UniqueFd(::openat(area, areaName_.c_str(),
                            O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd_)
        areaName_.clear();  // nothing was made to remove
}

PendingFile::~PendingFile() {
    if (!published_ && !areaName_.empty())
        ::unlinkat(folder_.area().folder(), areaName_.c_str(), 0);
}

ClaimResult PendingFile::publish(const std::string& name) {
    if (areaName_.empty()) {
        const ClaimResult result = folder_.linkUnnamed(fd_.get(), name);
        if (result != ClaimResult::Claimed)
            return result;
        published_ = true;
        if (fd_.close())
            return ClaimResult::Claimed;
        // Some data may never have reached the medium: take the name back.
        const int error = errno;
        ::unlinkat(folder_.fd(), name.c_str(), 0);
        errno = error;
        return ClaimResult::Failed;
    }
    struct stat info;
    if (fd_) {
        // Many file systems (network ones, FUSE drivers) report a failed
        // write only as the file is closed: a file not written whole gets no
        // name.
        if (::fstat(fd_.get(), &info) != 0 || !fd_.close())
            return ClaimResult::Failed;
        size_ = info.st_size;
    }
    const ClaimResult result =
        folder_.moveIn(folder_.area().folder(), areaName_.c_str(), name, size_);
    published_ = result == ClaimResult::Claimed;
    return result;
}

Failure nameFailure(PublishFolder& folder, int error) {
    if (error == ENAMETOOLONG)
        return failureOf(FailureCode::NameTooLong);
    if (folder.refusedOnlyTheName(error))
        return failureOf(FailureCode::NameRefused);
    return failureFromErrno(error);
}

CopyOutcome copyToFreeName(int in, const struct stat& source, mode_t mode, PublishFolder& folder,
                           const std::string& wanted, CopyCheck check) {
    PendingFile copy(folder);
    const auto failedNow = [] { return CopyOutcome{std::nullopt, failureFromErrno(errno)}; };
    if (!copy.valid() || !copyFileData(in, copy.fd(), source.st_size))
        return failedNow();
    keepAttributes(copy.fd(), mode, source);
    if (check == CopyCheck::SyncedAndCompared) {
        if (::fsync(copy.fd()) != 0)
            return failedNow();
        if (!sameContent(in, copy.fd(), source.st_size)) {
            if (errno != 0)
                return failedNow();
            return {std::nullopt, failureOf(FailureCode::CopyMismatch)};
        }
    }
    auto name =
        claimFreeName(folder.fd(), wanted, [&](const auto& name) { return copy.publish(name); });
    if (!name)
        return {std::nullopt, nameFailure(folder, errno)};
    return {std::move(name), {}};
}

}  // namespace velmora
