// SPDX-License-Identifier: GPL-3.0-or-later
#include "record_list.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "job_file.h"
#include "job_protocol.h"
#include "path_text.h"

namespace velmora {

namespace {

constexpr std::size_t kBatchBytes = 16 * 1024;

}  // namespace

bool RecordList::create(const std::filesystem::path& folder, std::string_view name,
                        SpaceReserve* reserve, Writing writing) {
    fd_ = createEmptyJobFile(folder, name, O_APPEND);
    reserve_ = reserve;
    writing_ = writing;
    return static_cast<bool>(fd_);
}

bool RecordList::flush() {
    std::lock_guard guard(lock_);
    if (held_.empty() || !fd_)
        return !lost();
    const bool written = writeOut(held_);
    held_.clear();
    return written;
}

bool RecordList::append(std::string_view listedPath,
                        std::initializer_list<std::string_view> fields) {
    std::string line = escapedPath(listedPath);
    for (const std::string_view field : fields) {
        line += job::kReasonSeparator;
        line += field;
    }
    line += '\n';
    // One writer at a time, so that the rest of a line the disk cut short
    // follows it at once.
    std::lock_guard guard(lock_);
    if (writing_ == Writing::InBatches) {
        held_ += line;
        if (held_.size() < kBatchBytes)
            return true;
        const bool written = writeOut(held_);
        held_.clear();
        return written;
    }
    return writeOut(line);
}

bool RecordList::writeOut(std::string_view text) {
    std::string_view rest = text;
    while (!rest.empty()) {
        const ssize_t written = ::write(fd_.get(), rest.data(), rest.size());
        if (written > 0) {
            rest.remove_prefix(std::size_t(written));
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        const bool full = written == 0 || isDiskFullError(errno);
        if (!(full && reserve_ != nullptr && reserve_->release())) {
            lost_.store(true, std::memory_order_relaxed);
            return false;
        }
    }
    return true;
}

}  // namespace velmora
