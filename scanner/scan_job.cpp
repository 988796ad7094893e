// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan_job.h"

#include "absolute_path.h"
#include "atomic_file.h"
#include "job_file.h"
#include "job_files.h"
#include "job_protocol.h"
#include "line_writer.h"
#include "path_text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace velmora {

namespace {

void printError(const std::string& message) {
    std::fputs(message.c_str(), stderr);
}

/// Hands the walk on to a scan's own visitor and writes every folder the walk
/// could not read as a line of job::kUnreadable, escaped like the ignore list
/// when its path cannot be one line.
class UnreadableFolderList final : public WalkVisitor {
  public:
    UnreadableFolderList(WalkVisitor& scan, UniqueFd file) : scan_(scan), file_(std::move(file)) {}

    bool enterFolder(const WalkEntry& folder) override { return scan_.enterFolder(folder); }
    void visitFile(const WalkEntry& file) override { scan_.visitFile(file); }
    void folderUnreadable(std::string_view path) override {
        writeLine(file_.get(), escapedPath(path));
    }

  private:
    WalkVisitor& scan_;
    UniqueFd file_;
};

}  // namespace

ToolExit runScan(std::string_view program, ToolArguments args, ScanJob& scan) {
    if (args.size() != 2) {
        printError("Usage: " + std::string(program) + " SOURCE TMP\n");
        return ToolExit::Usage;
    }
    const auto folders = resolveJobFolders(args[0], args[1]);
    if (folders)
        createJobFolder(folders->tmp);
    UniqueFd unreadable;
    if (!folders || !scan.open(folders->tmp) ||
        !(unreadable = createEmptyJobFile(folders->tmp, job::kUnreadable))) {
        scan.close();
        printError("Cannot open temporary files.\n");
        return ToolExit::JobFilesUnreadable;
    }
    UnreadableFolderList visitor(scan.visitor(), std::move(unreadable));
    walkTree(folders->source, visitor);
    const bool written =
        replaceFileAtomically(std::filesystem::path(folders->tmp) / job::kSummary, scan.finish());
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
