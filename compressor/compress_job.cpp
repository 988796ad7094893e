// SPDX-License-Identifier: GPL-3.0-or-later
#include "compress_job.h"

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <vector>

#include "absolute_path.h"
#include "bounded_pool.h"
#include "compress_arguments.h"
#include "compress_status.h"
#include "image_tool.h"
#include "job_protocol.h"
#include "process_one.h"
#include "record_list.h"
#include "run_stop.h"
#include "space_reserve.h"
#include "status_file.h"
#include "work_list.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

/// The counters of a run and the status file that shows them.
class CompressProgress {
  public:
    CompressProgress(fs::path statusFile, std::int64_t total, SpaceReserve* reserve)
        : statusFile_(std::move(statusFile), reserve), total_(total), start_(Clock::now()) {}

    /// Writes the status file; only while no worker runs.
    void writeFirstStatus() { writeStatus(); }

    /// Counts one finished file and writes the status file when it is due.
    /// A photo abandoned by a stopped run is not finished.
    void finish(const FileOutcome& outcome) {
        if (outcome.result == FileResult::Abandoned)
            return;
        std::lock_guard guard(lock_);
        ++counters_.done;
        counters_.inputBytes += outcome.sourceBytes;
        if (outcome.success()) {
            counters_.outputBytes += outcome.outputBytes;
        } else {
            ++counters_.failed;
        }
        if (outcome.result == FileResult::Kept)
            ++counters_.kept;
        if (outcome.result == FileResult::Uncompressed)
            ++counters_.uncompressed;
        if (statusDueAfter(counters_.done, total_))
            writeStatus();
    }

    /// Writes the last status line; false when it could not be written.
    bool writeFinalStatus() {
        std::lock_guard guard(lock_);
        return writeStatus();
    }

  private:
    bool writeStatus() {
        const std::chrono::duration<double> elapsed = Clock::now() - start_;
        // A failed write leaves the previous line; the next write replaces it.
        return statusFile_.write(compressStatusLine(counters_, elapsed.count(), total_));
    }

    StatusFile statusFile_;
    const std::int64_t total_;
    const Clock::time_point start_;
    std::mutex lock_;
    CompressCounters counters_;
};

/// The job folder's lists of a compress run.
struct CompressLists {
    SpaceReserve reserve;
    RecordList failures;
    RecordList uncompressed;
    RecordList outputs;

    bool create(const fs::path& tmp) {
        reserve.create(tmp);
        return failures.create(tmp, job::kFailures, &reserve) &&
               uncompressed.create(tmp, job::kUncompressed, &reserve) &&
               outputs.create(tmp, job::kOutputs, &reserve);
    }
    bool lost() const { return failures.lost() || uncompressed.lost() || outputs.lost(); }

    void record(const std::string& path, const FileOutcome& outcome, const fs::path& outdir) {
        if (outcome.result == FileResult::Failed) {
            failures.append(path, outcome.failure);
            return;
        }
        if (outcome.result == FileResult::Abandoned)
            return;
        if (outcome.result == FileResult::Uncompressed)
            uncompressed.append(path, outcome.failure);
        outputs.append(path, {resultName(outcome.result), (outdir / outcome.output).string()});
    }

    static std::string_view resultName(FileResult result) {
        switch (result) {
            case FileResult::Kept:
                return job::output_result::kKept;
            case FileResult::Uncompressed:
                return job::output_result::kUncompressed;
            default:
                return job::output_result::kCompressed;
        }
    }
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
    CompressLists lists;
    if (!lists.create(tmp))
        return ToolExit::JobFilesUnreadable;
    if (isOnReadOnlyFileSystem(folders->source))
        return ToolExit::SourceReadOnly;

    CompressSettings settings;
    const WorkerFolder photoFolder = openPhotoFolder(folders->source);
    const std::string outdirName = job::compressedFolderName(quality);
    settings.outdir = makeWorkerFolder(photoFolder, outdirName, "output folder");
    if (photoFolder.failure.code == FailureCode::ReadOnly ||
        settings.outdir.failure.code == FailureCode::ReadOnly ||
        (settings.outdir.handle && !takesWrites(settings.outdir.handle.get())))
        return ToolExit::SourceReadOnly;
    settings.quality = quality;
    settings.tool = findImageTool();
    settings.umask = currentUmask();
    if (settings.outdir.handle) {
        TemporaryArea::removeLeftovers(settings.outdir.handle.get());
        settings.output = std::make_unique<PublishFolder>(settings.outdir.handle.get());
    }

    watchStopSignals();
    CompressProgress progress(tmp / job::kStatus, static_cast<std::int64_t>(files->size()),
                              &lists.reserve);
    progress.writeFirstStatus();
    const fs::path outdir = fs::path(folders->source) / outdirName;
    runBounded(
        files->size(), workers,
        [&](std::size_t k) {
            const std::string& path = (*files)[k];
            const FileOutcome outcome = processCountingErrors(path, settings);
            lists.record(path, outcome, outdir);
            progress.finish(outcome);
        },
        "Velmora.Compress", &stopFlag());
    // The run's temporary area goes before the last status line says it ended.
    settings.output.reset();
    const bool statusWritten = progress.writeFinalStatus();
    endByStopSignal();
    if (!statusWritten || lists.lost())
        return ToolExit::JobFilesNotWritten;
    return ToolExit::Done;
}

}  // namespace velmora
