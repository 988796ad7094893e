#include "job_folder_lease.h"

#include <QFile>

#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <thread>

namespace velmora {

namespace {

/// True when `path` is a folder (not a link to one) owned by this user.
bool isOwnFolder(const QByteArray& path) {
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid();
}

}  // namespace

JobFolderLease::JobFolderLease(QString path)
    : path_(std::move(path)), ours_(!path_.isEmpty() && isOwnFolder(QFile::encodeName(path_))) {}

JobFolderLease::~JobFolderLease() {
    if (!ours_) {
        return;
    }
    // remove_all does not follow links: only the folder's own entries go.
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(QFile::encodeName(path_).toStdString()),
                                ignored);
}

void holdUntilProcessEnds(JobFolderHold hold, pid_t pid) {
    // Whatever goes wrong below, the folder must outlive the process: the
    // share is then kept until this application ends, and the folder stays.
    auto* kept = new JobFolderHold(std::move(hold));
    // Called through syscall(): glibc 2.36 declares no wrapper.
    const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (pidfd < 0) {
        return;
    }
    try {
        std::thread([kept, pidfd] {
            pollfd ended{pidfd, POLLIN, 0};
            while (::poll(&ended, 1, -1) < 0 && errno == EINTR) {
            }
            ::close(pidfd);
            delete kept;
        }).detach();
    } catch (const std::system_error&) {
        ::close(pidfd);
    }
}

}  // namespace velmora
