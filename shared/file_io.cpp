// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_io.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velmora {

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

UniqueFd::~UniqueFd() {
    close();
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

bool UniqueFd::close() {
    if (fd_ < 0)
        return true;
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
}

OpenedFile openRegularFile(int folder, const std::string& name) {
    OpenedFile file;
    UniqueFd fd(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (!fd) {
        file.failure =
            errno == ELOOP ? failureOf(FailureCode::NotRegularFile) : sourceFailureFromErrno(errno);
    } else if (::fstat(fd.get(), &info) != 0) {
        file.failure = failureFromErrno(errno);
    } else if (!S_ISREG(info.st_mode)) {
        file.failure = failureOf(FailureCode::NotRegularFile);
    } else {
        file.fd = std::move(fd);
        file.info = info;
    }
    return file;
}

}  // namespace velmora
