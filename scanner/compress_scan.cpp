// SPDX-License-Identifier: GPL-3.0-or-later
#include "compress_scan.h"

#include "file_name_rules.h"
#include "job_file.h"
#include "job_protocol.h"
#include "line_writer.h"
#include "output_folders.h"
#include "path_text.h"
#include "scan_job.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <string>

namespace velmora {

namespace {

/// Lists every photo of the walk in the work list and adds up their sizes.
class CompressScan final : public ScanJob, public WalkVisitor {
  public:
    bool open(const std::string& tmp) override {
        listFd_ = createEmptyJobFile(tmp, job::kWorkList);
        unreadableNamesFd_ = createEmptyJobFile(tmp, job::kUnreadableNames);
        return listFd_ && unreadableNamesFd_;
    }
    WalkVisitor& visitor() override { return *this; }
    std::string finish() override {
        using Field = job::CompressSummaryField;
        return job::FieldLine<Field>()
                   .set(Field::photos, photos_)
                   .set(Field::leftAside, leftAside_)
                   .set(Field::bytes, bytes_)
                   .set(Field::unreadableNames, unreadableNames_)
                   .text() +
               '\n';
    }
    void close() override {
        listFd_.close();
        unreadableNamesFd_.close();
    }

    bool enterFolder(const WalkEntry& folder) override { return !isCompressOutput(folder.name); }

    void visitFile(const WalkEntry& file) override {
        struct stat status;
        if (!hasPhotoExtension(file.name) ||
            ::fstatat(file.folderFd, file.name.data(), &status, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(status.st_mode)) {
            ++leftAside_;
            return;
        }
        // The compress worker reads the work list line by line as UTF-8.
        if (!isListablePath(file.path)) {
            ++leftAside_;
            ++unreadableNames_;
            writeLine(unreadableNamesFd_.get(), escapedPath(file.path));
            return;
        }
        ++photos_;
        bytes_ += status.st_size;
        writeLine(listFd_.get(), file.path);
    }

  private:
    UniqueFd listFd_;
    UniqueFd unreadableNamesFd_;
    std::int64_t photos_ = 0;
    std::int64_t leftAside_ = 0;
    std::int64_t bytes_ = 0;
    std::int64_t unreadableNames_ = 0;
};

}  // namespace

ToolExit runCompressScan(ToolArguments args) {
    CompressScan scan;
    return runScan("compress-scan", args, scan);
}

}  // namespace velmora
