// SPDX-License-Identifier: GPL-3.0-or-later
#include "worker_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "uuid.h"

namespace velmora {

bool isOnReadOnlyFileSystem(const std::string& path) {
    std::filesystem::path existing = path;
    struct statvfs info;
    while (::statvfs(existing.c_str(), &info) != 0) {
        if (errno != ENOENT || !existing.has_relative_path())
            return false;
        existing = existing.parent_path();
    }
    return (info.f_flag & ST_RDONLY) != 0;
}

bool takesWrites(int folder) {
    const std::string probe = ".velmora-probe-" + randomUuidText();
    const int fd =
        ::openat(folder, probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno != EROFS;
    ::close(fd);
    ::unlinkat(folder, probe.c_str(), 0);
    return true;
}

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
