// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan_output.h"

#include "job_file.h"
#include "job_protocol.h"
#include "line_writer.h"

#include <unistd.h>

#include <algorithm>

namespace velmora {

namespace {

// In the order of ScanOutput::List, then the progress file.
constexpr std::array<std::string_view, 6> fileNames = {job::kWorkList,        job::kOddList,
                                                       job::kEvenList,        job::kIgnoreList,
                                                       job::kUnreadableNames, job::kScanProgress};

}  // namespace

void ScanOutput::close() {
    for (UniqueFd& fd : fds_)
        fd.close();
}

bool ScanOutput::open(const std::string& folder) {
    for (std::size_t i = 0; i < fds_.size(); ++i)
        fds_[i] = createEmptyJobFile(folder, fileNames[i]);
    return std::all_of(fds_.begin(), fds_.end(), [](const UniqueFd& fd) { return bool(fd); });
}

void ScanOutput::record(List list, std::string_view path) {
    writeLine(fds_[static_cast<std::size_t>(list)].get(), path);
}

void ScanOutput::writeProgress(const ScanCounts& counts) {
    const int fd = fds_[statusFile].get();
    ::lseek(fd, 0, SEEK_SET);
    if (::ftruncate(fd, 0) != 0) {
        // Not fatal: the line below still replaces the old one, which is never longer.
    }
    writeLine(fd, progressLine(counts));
}

std::string progressLine(const ScanCounts& counts) {
    using Field = job::ScanProgressField;
    return job::FieldLine<Field>()
        .set(Field::visited, counts.visited)
        .set(Field::total, counts.total)
        .set(Field::odd, counts.odd)
        .set(Field::even, counts.even)
        .set(Field::ignored, counts.ignored)
        .text();
}

std::string summaryLine(const ScanCounts& counts) {
    using Field = job::SortSummaryField;
    return job::FieldLine<Field>()
               .set(Field::total, counts.total)
               .set(Field::odd, counts.odd)
               .set(Field::even, counts.even)
               .set(Field::ignored, counts.ignored)
               .set(Field::unreadableNames, counts.unreadableNames)
               .text() +
           '\n';
}

}  // namespace velmora
