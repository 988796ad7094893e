#include "tallix.h"

#include "absolute_path.h"
#include "atomic_file.h"
#include "job_files.h"
#include "job_protocol.h"
#include "scan_output.h"
#include "sort_scan.h"
#include "tree_walk.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace velmora {

namespace {

/// Walks the folder named by `sourceArgument` into `output`, then writes the
/// final progress line and the summary. False, with errno set, when the
/// summary cannot be written.
bool scanAndSummarize(const char* sourceArgument, const std::string& tmp, ScanOutput& output) {
    SortScan scan(output);
    if (const auto source = absolutePath(sourceArgument))
        walkTree(*source, scan);
    output.writeProgress(scan.counts());
    return replaceFileAtomically(std::filesystem::path(tmp) / job::kSummary,
                                 summaryLine(scan.counts()));
}

}  // namespace

int runTallix(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("Usage: Tallix SOURCE TMP\n", stderr);
        return 2;
    }
    const std::string tmp = argv[2];
    createJobFolder(tmp);
    auto output = std::make_unique<ScanOutput>();
    if (!output->open(tmp)) {
        std::fputs("Cannot open temporary files.\n", stderr);
        return 3;
    }
    const bool summaryWritten = scanAndSummarize(argv[1], tmp, *output);
    const int error = errno;
    output.reset();  // the files are closed before the failure is reported
    if (!summaryWritten) {
        std::fprintf(stderr, "Cannot write %s: %s\n", job::kSummary.data(), std::strerror(error));
        return 1;
    }
    return 0;
}

}  // namespace velmora
