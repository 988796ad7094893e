// SPDX-License-Identifier: GPL-3.0-or-later
#include "job_folder_lease.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

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

}  // namespace velmora
