#include "scan_output.h"

#include "job_files.h"
#include "line_writer.h"

#include <unistd.h>

#include <algorithm>

namespace velmora {

namespace {

constexpr std::array<const char*, 5> fileNames = {"files.txt", "odd.txt", "even.txt", "ignore.txt",
                                                  "scan_status.txt"};

std::string joinCounts(std::initializer_list<std::int64_t> counts) {
    std::string line;
    for (const std::int64_t count : counts) {
        if (!line.empty())
            line += '|';
        line += std::to_string(count);
    }
    return line;
}

}  // namespace

ScanOutput::~ScanOutput() {
    for (const int fd : fds_) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool ScanOutput::open(const std::string& folder) {
    for (std::size_t i = 0; i < fds_.size(); ++i)
        fds_[i] = openEmptyFile(folder, fileNames[i]);
    return std::none_of(fds_.begin(), fds_.end(), [](int fd) { return fd < 0; });
}

void ScanOutput::record(List list, std::string_view path) {
    writeLine(fds_[static_cast<std::size_t>(list)], path);
}

void ScanOutput::writeProgress(const ScanCounts& counts) {
    const int fd = fds_[statusFile];
    ::lseek(fd, 0, SEEK_SET);
    if (::ftruncate(fd, 0) != 0) {
        // Not fatal: the line below still replaces the old one, which is never longer.
    }
    writeLine(fd, progressLine(counts));
}

std::string progressLine(const ScanCounts& counts) {
    return joinCounts({counts.visited, counts.total, counts.odd, counts.even, counts.ignored});
}

std::string summaryLine(const ScanCounts& counts) {
    return joinCounts({counts.total, counts.odd, counts.even, counts.ignored}) + '\n';
}

}  // namespace velmora
