#include "compress_job.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <vector>

#include "absolute_path.h"
#include "atomic_file.h"
#include "bounded_pool.h"
#include "compress_arguments.h"
#include "compress_status.h"
#include "image_tool.h"
#include "job_protocol.h"
#include "process_one.h"
#include "record_list.h"
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

FileOutcome processCountingErrors(const std::string& path, const CompressSettings& settings) {
    // Each worker thread keeps the folder of its last photo open: the next
    // photo in the list usually lies in the same one.
    thread_local FolderCache cache;
    return processOne(path, settings, cache);
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

ToolExit runMoskel(ToolArguments args) {
    if (args.size() != 4)
        return ToolExit::Usage;
    const auto folders = resolveJobFolders(args[0], args[1]);
    if (!folders)
        return ToolExit::JobFilesUnreadable;
    const fs::path tmp = folders->tmp;
    const int quality = parseQuality(args[2]);
    const int workers = parseWorkers(args[3]);

    const auto files = readWorkList(tmp / job::kWorkList);
    if (!files)
        return ToolExit::JobFilesUnreadable;
    RecordList failures;
    if (!failures.create(tmp, job::kFailures))
        return ToolExit::JobFilesUnreadable;

    CompressSettings settings;
    settings.outdir = makeWorkerFolder(openPhotoFolder(folders->source),
                                       job::compressedFolderName(quality), "output folder");
    settings.quality = quality;
    settings.tool = findImageTool();
    settings.umask = currentUmask();
    if (settings.outdir.handle) {
        TemporaryArea::removeLeftovers(settings.outdir.handle.get());
        settings.area = std::make_unique<TemporaryArea>(settings.outdir.handle.get());
    }

    CompressProgress progress(tmp / job::kStatus, static_cast<std::int64_t>(files->size()));
    progress.writeFirstStatus();
    runBounded(
        files->size(), workers,
        [&](std::size_t k) {
            const std::string& path = (*files)[k];
            const FileOutcome outcome = processCountingErrors(path, settings);
            if (!outcome.success)
                failures.append(path, outcome.failure);
            progress.finish(outcome);
        },
        "Velmora.Compress");
    // The run's temporary area goes before the last status line says it ended.
    settings.area.reset();
    progress.writeFinalStatus();
    return ToolExit::Done;
}

}  // namespace velmora
