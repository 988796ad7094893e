// SPDX-License-Identifier: GPL-3.0-or-later
#include "line_writer.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace velmora {

namespace {

/// Takes back the `written` bytes of an unfinished line at the end of `fd`.
void dropPartialLine(int fd, std::size_t written) {
    const off_t end = ::lseek(fd, 0, SEEK_CUR);
    if (end < off_t(written))
        return;
    const off_t lineStart = end - off_t(written);
    if (::ftruncate(fd, lineStart) == 0)
        ::lseek(fd, lineStart, SEEK_SET);
}

}  // namespace

void writeLine(int fd, std::string_view text) {
    char small[4096];
    std::string large;
    char* line = small;
    const std::size_t size = text.size() + 1;
    if (size > sizeof small) {
        large.resize(size);
        line = large.data();
    }
    std::memcpy(line, text.data(), text.size());
    line[text.size()] = '\n';

    std::size_t written = 0;
    while (written < size) {
        const ssize_t result = ::write(fd, line + written, size - written);
        if (result > 0) {
            written += std::size_t(result);
        } else if (result < 0 && errno == EINTR) {
            continue;
        } else {
            break;
        }
    }
    if (written > 0 && written < size)
        dropPartialLine(fd, written);
}

}  // namespace velmora
