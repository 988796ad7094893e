#include "job_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace velmora {

void createJobFolder(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
}

int openEmptyFile(const std::string& folder, const char* name) {
    const std::string path = folder + '/' + name;
    ::unlink(path.c_str());
    // O_TRUNC as well: when the old file could not be removed, stale lines must still go.
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
}

int replaceFileAtomically(const std::string& folder, const char* name, std::string_view content) {
    const std::string target = folder + '/' + name;
    const std::string temporary = target + '.' + std::to_string(::getpid()) + ".tmp";
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;

    int error = 0;
    std::size_t written = 0;
    while (written < content.size() && error == 0) {
        const ssize_t result = ::write(fd, content.data() + written, content.size() - written);
        if (result > 0) {
            written += std::size_t(result);
        } else if (result == 0 || errno != EINTR) {
            error = result == 0 ? EIO : errno;
        }
    }
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(temporary.c_str());
    return error;
}

}  // namespace velmora
