#pragma once

#include <fcntl.h>

#include <string_view>
#include <utility>

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
    /// Gives the descriptor up to the caller, who closes it from now on.
    int release() { return std::exchange(fd_, -1); }
    /// Closes the descriptor now; gives false when close reports an error
    /// (for a file just written, the data may not have arrived).
    bool close();

  private:
    int fd_;
};

}  // namespace velmora
