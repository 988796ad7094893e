#include "failure_list.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "job_file.h"
#include "job_protocol.h"
#include "path_text.h"

namespace velmora {

bool FailureList::create(const std::filesystem::path& folder) {
    fd_ = createEmptyJobFile(folder, job::kFailures, O_APPEND);
    return static_cast<bool>(fd_);
}

void FailureList::record(std::string_view listedPath, std::string_view reason) const {
    std::string line = escapedPath(listedPath);
    line += job::kReasonSeparator;
    line += reason;
    line += '\n';
    // One write call: with O_APPEND the kernel places it whole at the end.
    (void)::write(fd_.get(), line.data(), line.size());
}

}  // namespace velmora
