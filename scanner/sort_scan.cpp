// SPDX-License-Identifier: GPL-3.0-or-later
#include "sort_scan.h"

#include "file_name_rules.h"
#include "output_folders.h"
#include "path_text.h"

namespace velmora {

namespace {

constexpr std::int64_t progressEvery = 1000;

}  // namespace

bool SortScan::enterFolder(const WalkEntry& folder) {
    return !isSortOrCompressOutput(folder.name);
}

void SortScan::visitFile(const WalkEntry& file) {
    ++counts_.visited;
    // The sort worker reads the lists line by line as UTF-8; a path that
    // cannot be one such line is set aside, in an escaped form.
    if (!isListablePath(file.path)) {
        const std::string shown = escapedPath(file.path);
        if (hasPhotoExtension(file.name) && numberFromAsciiDigitRun(file.name)) {
            ++counts_.unreadableNames;
            output_.record(ScanOutput::List::unreadableNames, shown);
        }
        return ignore(shown);
    }
    if (!hasPhotoExtension(file.name))
        return ignore(file.path);
    const auto number = numberFromAsciiDigitRun(file.name);
    if (!number)
        return ignore(file.path);

    ++counts_.total;
    output_.record(ScanOutput::List::files, file.path);
    if (*number % 2 == 0) {
        ++counts_.even;
        output_.record(ScanOutput::List::even, file.path);
    } else {
        ++counts_.odd;
        output_.record(ScanOutput::List::odd, file.path);
    }
    if (counts_.visited % progressEvery == 0)
        output_.writeProgress(counts_);
}

void SortScan::ignore(std::string_view line) {
    ++counts_.ignored;
    output_.record(ScanOutput::List::ignore, line);
}

}  // namespace velmora
