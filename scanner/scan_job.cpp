#include "scan_job.h"

#include "absolute_path.h"
#include "atomic_file.h"
#include "job_files.h"
#include "job_protocol.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace velmora {

namespace {

void printError(const std::string& message) {
    std::fputs(message.c_str(), stderr);
}

}  // namespace

ToolExit runScan(std::string_view program, ToolArguments args, ScanJob& scan) {
    if (args.size() != 2) {
        printError("Usage: " + std::string(program) + " SOURCE TMP\n");
        return ToolExit::Usage;
    }
    const std::string tmp(args[1]);
    createJobFolder(tmp);
    if (!scan.open(tmp)) {
        scan.close();
        printError("Cannot open temporary files.\n");
        return ToolExit::JobFilesUnreadable;
    }
    if (const auto source = absolutePath(args[0]))
        walkTree(*source, scan.visitor());
    const bool written =
        replaceFileAtomically(std::filesystem::path(tmp) / job::kSummary, scan.finish());
    const int error = errno;
    scan.close();  // the files are closed before a failure is reported
    if (!written) {
        printError("Cannot write " + std::string(job::kSummary) + ": " + std::strerror(error) +
                   "\n");
        return ToolExit::SummaryNotWritten;
    }
    return ToolExit::Done;
}

}  // namespace velmora
