#include "worker_folder.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace velmora {

WorkerFolder openPhotoFolder(const std::string& path) {
    std::error_code ignored;
    std::filesystem::create_directories(path, ignored);
    WorkerFolder folder{UniqueFd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)), {}};
    if (!folder.handle)
        folder.failure = failureFromErrno(errno);
    return folder;
}

WorkerFolder makeWorkerFolder(const WorkerFolder& parent, const std::string& name,
                              std::string_view what) {
    if (!parent.handle)
        return {UniqueFd(), parent.failure};
    (void)::mkdirat(parent.handle.get(), name.c_str(), 0777);
    WorkerFolder folder{UniqueFd(::openat(parent.handle.get(), name.c_str(),
                                          O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)),
                        {}};
    if (folder.handle)
        return folder;
    const int error = errno;
    struct stat info;
    if (::fstatat(parent.handle.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        !S_ISDIR(info.st_mode)) {
        const bool link = S_ISLNK(info.st_mode);
        folder.failure = {link ? FailureCode::FolderIsLink : FailureCode::FolderNotFolder,
                          std::string(what) + (link ? " is a link" : " is not a folder")};
    } else {
        folder.failure = failureFromErrno(error);
    }
    return folder;
}

}  // namespace velmora
