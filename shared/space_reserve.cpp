// SPDX-License-Identifier: GPL-3.0-or-later
#include "space_reserve.h"

#include <fcntl.h>
#include <unistd.h>

#include "file_io.h"

namespace velmora {

void SpaceReserve::create(const std::filesystem::path& folder, long bytes) {
    file_ = folder / ".space-reserve";
    ::unlink(file_.c_str());
    const UniqueFd fd(
        ::open(file_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd)
        return;
    // posix_fallocate writes zeros where the file system cannot allocate.
    if (::posix_fallocate(fd.get(), 0, bytes) != 0) {
        ::unlink(file_.c_str());
        return;
    }
    held_.store(true);
}

bool SpaceReserve::release() {
    if (!held_.exchange(false))
        return false;
    ::unlink(file_.c_str());
    return true;
}

}  // namespace velmora
