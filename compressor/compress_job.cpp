#include "compress_job.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <vector>

#include "atomic_file.h"
#include "bounded_pool.h"
#include "compress_arguments.h"
#include "compress_status.h"
#include "image_tool.h"
#include "job_protocol.h"
#include "process_one.h"
#include "work_list.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

/// The counters of a run and the status file that shows them.
class CompressProgress {
  public:
    CompressProgress(fs::path statusFile, std::int64_t total)
        : statusFile_(std::move(statusFile)), total_(total), start_(Clock::now()) {}

    /// Writes the status file; only while no worker runs.
    void writeFirstStatus() { writeStatus(); }

    /// Counts one finished file and writes the status file when it is due.
    void finish(const FileOutcome& outcome) {
        std::lock_guard guard(lock_);
        ++counters_.done;
        counters_.inputBytes += outcome.sourceBytes;
        if (outcome.success) {
            counters_.outputBytes += outcome.outputBytes;
        } else {
            ++counters_.failed;
        }
        if (statusDueAfter(counters_.done, total_))
            writeStatus();
    }

    void writeFinalStatus() {
        std::lock_guard guard(lock_);
        writeStatus();
    }

  private:
    void writeStatus() {
        const std::chrono::duration<double> elapsed = Clock::now() - start_;
        // A failed write leaves the previous line; the next write replaces it.
        (void)replaceFileAtomically(statusFile_,
                                    compressStatusLine(counters_, elapsed.count(), total_));
    }

    const fs::path statusFile_;
    const std::int64_t total_;
    const Clock::time_point start_;
    std::mutex lock_;
    CompressCounters counters_;
};

fs::path resolved(std::string_view text) {
    std::error_code error;
    fs::path path = fs::absolute(fs::path(text), error);
    return error ? fs::path(text) : path;
}

}  // namespace

ToolExit runMoskel(ToolArguments args) {
    if (args.size() != 4)
        return ToolExit::Usage;
    const fs::path source = resolved(args[0]);
    const fs::path tmp = resolved(args[1]);
    const int quality = parseQuality(args[2]);
    const int workers = parseWorkers(args[3]);

    const auto files = readWorkList(tmp / job::kWorkList);
    if (!files)
        return ToolExit::JobFilesUnreadable;

    const CompressSettings settings{source / job::compressedFolderName(quality), quality,
                                    findImageTool()};
    std::error_code ignored;
    fs::create_directories(settings.outdir, ignored);

    CompressProgress progress(tmp / job::kStatus, static_cast<std::int64_t>(files->size()));
    progress.writeFirstStatus();
    runBounded(
        files->size(), workers,
        [&](std::size_t k) { progress.finish(processOne((*files)[k], settings)); },
        "Velmora.Compress");
    progress.writeFinalStatus();
    return ToolExit::Done;
}

}  // namespace velmora
