#include "atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "file_io.h"

namespace velmora {

bool replaceFileAtomically(const std::filesystem::path& target, std::string_view content) {
    // A hidden name beside the target; mkstemp makes it unique per call, so
    // concurrent writers never share a temporary file.
    std::string temporary =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = ::fchmod(fd, 0644) == 0 && writeAll(fd, content);
    const bool closed = ::close(fd) == 0;
    if (written && closed && ::rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    ::unlink(temporary.c_str());
    return false;
}

}  // namespace velmora
