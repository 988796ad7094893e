#include "reserved_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "file_copy.h"
#include "file_io.h"
#include "jpeg_signature.h"
#include "unique_destination.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

int createExclusively(const fs::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
}

// The reserved file opened for rewriting. A tool may have left something
// that cannot be rewritten in place (a read-only file, a folder, a link, a
// FIFO, which must not block the open): that goes, and the same name is
// taken again at once.
int reopenForCopy(const fs::path& output) {
    const int fd = ::open(output.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0)
        return fd;
    std::error_code ignored;
    fs::remove(output, ignored);
    return createExclusively(output);
}

}  // namespace

std::optional<fs::path> reserveOutput(const fs::path& wanted) {
    return claimFreeName(wanted, [](const fs::path& candidate) {
        UniqueFd fd(createExclusively(candidate));
        if (fd)
            return ClaimResult::Claimed;
        return errno == EEXIST ? ClaimResult::Taken : ClaimResult::Failed;
    });
}

bool copyIntoReserved(const fs::path& source, const fs::path& output) {
    UniqueFd fd(reopenForCopy(output));
    // Without a descriptor the name may no longer be ours: leave it alone.
    if (!fd)
        return false;
    const bool copied = copyFileInto(source, fd.get());
    if (fd.close() && copied)
        return true;
    ::unlink(output.c_str());
    return false;
}

bool holdsJpeg(const fs::path& file) {
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    char head[3];
    return fd && ::read(fd.get(), head, sizeof head) == sizeof head &&
           looksLikeJpeg(std::string_view(head, sizeof head));
}

}  // namespace velmora
