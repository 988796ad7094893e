#include "tallix.h"

#include "absolute_path.h"
#include "escaped_path.h"
#include "file_name_rules.h"
#include "job_files.h"
#include "output_folders.h"
#include "scan_output.h"
#include "tree_walk.h"
#include "work_list.h"

#include <cstdio>
#include <cstring>

namespace velmora {

namespace {

constexpr std::int64_t progressEvery = 1000;

/// Sorts every regular file of the walk into the lists as it is met.
class SortScan final : public WalkVisitor {
  public:
    explicit SortScan(ScanOutput& output) : output_(output) {}

    const ScanCounts& counts() const { return counts_; }

    bool enterFolder(const WalkEntry& folder) override {
        return !isSortOrCompressOutput(folder.name);
    }

    void visitFile(const WalkEntry& file) override {
        ++counts_.visited;
        // The sort worker reads the lists line by line as UTF-8; a path that
        // cannot be one such line is set aside, in an escaped form.
        if (!isListLine(file.path))
            return ignore(escapedPath(file.path));
        if (!hasPhotoExtension(file.name))
            return ignore(file.path);
        const auto number = numberFromFilename(file.name);
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

  private:
    void ignore(std::string_view line) {
        ++counts_.ignored;
        output_.record(ScanOutput::List::ignore, line);
    }

    ScanOutput& output_;
    ScanCounts counts_;
};

}  // namespace

int runTallix(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("Usage: Tallix SOURCE TMP\n", stderr);
        return 2;
    }
    const std::string tmp = argv[2];
    createJobFolder(tmp);
    int summaryError = 0;
    {
        ScanOutput output;
        if (!output.open(tmp)) {
            std::fputs("Cannot open temporary files.\n", stderr);
            return 3;
        }
        SortScan scan(output);
        if (const auto source = absolutePath(argv[1]))
            walkTree(*source, scan);
        output.writeProgress(scan.counts());
        summaryError = replaceFileAtomically(tmp, "summary.txt", summaryLine(scan.counts()));
    }
    if (summaryError != 0) {
        std::fprintf(stderr, "Cannot write summary.txt: %s\n", std::strerror(summaryError));
        return 1;
    }
    return 0;
}

}  // namespace velmora
