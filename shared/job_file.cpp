// SPDX-License-Identifier: GPL-3.0-or-later
#include "job_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace velmora {

namespace {

/// `fd` when it is open on a regular file; otherwise it is closed.
UniqueFd regularFileOnly(UniqueFd fd) {
    struct stat info;
    if (fd && (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))) {
        fd.close();
        errno = EINVAL;
    }
    return fd;
}

}  // namespace

UniqueFd openJobFileForReading(const std::filesystem::path& file) {
    return regularFileOnly(UniqueFd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)));
}

UniqueFd createEmptyJobFile(const std::filesystem::path& folder, std::string_view name,
                            int extraFlags) {
    const std::filesystem::path path = folder / name;
    ::unlink(path.c_str());
    // O_TRUNC as well: when the old file could not be removed, stale lines must still go.
    return regularFileOnly(UniqueFd(::open(
        path.c_str(),
        O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | extraFlags, 0666)));
}

}  // namespace velmora
