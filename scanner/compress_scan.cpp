#include "compress_scan.h"

#include "absolute_path.h"
#include "atomic_file.h"
#include "file_name_rules.h"
#include "job_files.h"
#include "job_protocol.h"
#include "line_writer.h"
#include "output_folders.h"
#include "path_text.h"
#include "tree_walk.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace velmora {

namespace {

/// Lists every photo of the walk in the work list and adds up their sizes.
class CompressScan final : public WalkVisitor {
  public:
    explicit CompressScan(int listFd) : listFd_(listFd) {}

    /// The summary line (job::CompressSummaryField) with its line feed.
    std::string summary() const {
        using Field = job::CompressSummaryField;
        return job::FieldLine<Field>()
                   .set(Field::photos, photos_)
                   .set(Field::leftAside, leftAside_)
                   .set(Field::bytes, bytes_)
                   .text() +
               '\n';
    }

    bool enterFolder(const WalkEntry& folder) override { return !isCompressOutput(folder.name); }

    void visitFile(const WalkEntry& file) override {
        struct stat status;
        if (!isListablePath(file.path) || !hasPhotoExtension(file.name) ||
            ::fstatat(file.folderFd, file.name.data(), &status, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(status.st_mode)) {
            ++leftAside_;
            return;
        }
        ++photos_;
        bytes_ += status.st_size;
        writeLine(listFd_, file.path);
    }

  private:
    int listFd_;
    std::int64_t photos_ = 0;
    std::int64_t leftAside_ = 0;
    std::int64_t bytes_ = 0;
};

}  // namespace

int runCompressScan(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("Usage: compress-scan SOURCE TMP\n", stderr);
        return 2;
    }
    const std::string tmp = argv[2];
    createJobFolder(tmp);
    const int listFd = openEmptyFile(tmp, job::kWorkList);
    if (listFd < 0) {
        std::fputs("Cannot open temporary files.\n", stderr);
        return 3;
    }
    CompressScan scan(listFd);
    if (const auto source = absolutePath(argv[1]))
        walkTree(*source, scan);
    const bool written =
        replaceFileAtomically(std::filesystem::path(tmp) / job::kSummary, scan.summary());
    const int summaryError = errno;
    ::close(listFd);
    if (!written) {
        std::fprintf(stderr, "Cannot write %s: %s\n", job::kSummary.data(),
                     std::strerror(summaryError));
        return 1;
    }
    return 0;
}

}  // namespace velmora
