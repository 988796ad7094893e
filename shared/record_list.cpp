#include "record_list.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "job_file.h"
#include "job_protocol.h"
#include "path_text.h"

namespace velmora {

bool RecordList::create(const std::filesystem::path& folder, std::string_view name) {
    fd_ = createEmptyJobFile(folder, name, O_APPEND);
    return static_cast<bool>(fd_);
}

bool RecordList::append(std::string_view listedPath,
                        std::initializer_list<std::string_view> fields) {
    std::string line = escapedPath(listedPath);
    for (const std::string_view field : fields) {
        line += job::kReasonSeparator;
        line += field;
    }
    line += '\n';
    // One write call: with O_APPEND the kernel places it whole at the end. A
    // short write (the disk filled up mid-line) leaves a torn line, which
    // readers drop with the list marked short.
    const ssize_t written = ::write(fd_.get(), line.data(), line.size());
    if (written == static_cast<ssize_t>(line.size()))
        return true;
    lost_.store(true, std::memory_order_relaxed);
    return false;
}

}  // namespace velmora
