// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <string>
#include <string_view>
#include <utility>

#include "failure_reason.h"

namespace velmora {

/// Writes every byte of `data` to `fd`, going on after short writes and
/// interruptions. Gives false on the first error.
bool writeAll(int fd, std::string_view data);

/// Owns an open file descriptor and closes it when it goes away.
class UniqueFd {
  public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    ~UniqueFd();
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    /// Closes the descriptor now; gives false when close reports an error
    /// (for a file just written, the data may not have arrived).
    bool close();

  private:
    int fd_;
};

/// A regular file open for reading, or why it could not be opened.
struct OpenedFile {
    UniqueFd fd;
    struct stat info {};  ///< all zero unless `fd` is open
    Failure failure;      ///< why it could not be opened; unset when `fd` is open
};

/// Opens the regular file `name` in the folder open as `folder` for reading:
/// never through a symbolic link, never waiting on a FIFO, and only when
/// the opened file is a regular one (FailureCode::NotRegularFile; Missing
/// when it is not there; else the system's reason).
OpenedFile openRegularFile(int folder, const std::string& name);

}  // namespace velmora
