#include "job_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

namespace velmora {

void createJobFolder(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
}

int openEmptyFile(const std::string& folder, std::string_view name) {
    const std::string path = folder + '/' + std::string(name);
    ::unlink(path.c_str());
    // O_TRUNC as well: when the old file could not be removed, stale lines must still go.
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
}

}  // namespace velmora
