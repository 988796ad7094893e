// SPDX-License-Identifier: GPL-3.0-or-later
#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "file_io.h"

namespace velmora {

namespace {

/// Moves `temporary` over `target` in one step. An existing regular file is
/// swapped with the temporary, which is then removed: a plain rename over an
/// existing file makes ext4 write the new data out at once (auto_da_alloc),
/// a disk write per call that a status file rewritten every few photos
/// cannot afford. Readers see the same single switch either way.
bool putInPlace(const std::string& temporary, const std::filesystem::path& target) {
    struct stat existing;
    const bool replacesFile = ::lstat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    if (replacesFile &&
        ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
        ::unlink(temporary.c_str());
        return true;
    }
    return ::rename(temporary.c_str(), target.c_str()) == 0;
}

}  // namespace

bool replaceFileAtomically(const std::filesystem::path& target, std::string_view content) {
    // A hidden name beside the target; mkstemp makes it unique per call, so
    // concurrent writers never share a temporary file.
    std::string temporary =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = ::fchmod(fd, 0644) == 0 && writeAll(fd, content);
    int error = errno;
    const bool closed = ::close(fd) == 0;
    if (written && !closed)
        error = errno;
    if (written && closed && putInPlace(temporary, target))
        return true;
    if (written && closed)
        error = errno;
    ::unlink(temporary.c_str());
    errno = error;
    return false;
}

}  // namespace velmora
