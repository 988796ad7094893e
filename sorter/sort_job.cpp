// SPDX-License-Identifier: GPL-3.0-or-later
#include "sort_job.h"

#include <filesystem>
#include <vector>

#include "bounded_pool.h"
#include "destination_folder.h"
#include "job_protocol.h"
#include "listed_path.h"
#include "record_list.h"
#include "run_stop.h"
#include "sort_settings.h"
#include "sort_status.h"
#include "space_reserve.h"
#include "transfer_step.h"
#include "work_list.h"

namespace velmora {

namespace {

TransferOutcome transferCountingErrors(const std::string& path, std::size_t k,
                                       const DestinationFolders& folders, bool copy,
                                       CrossDevice crossDevice = CrossDevice::Copy) {
    // Each worker thread keeps the folder of its last photo open: the next
    // photo in the list usually lies in the same one.
    thread_local FolderCache cache;
    try {
        return transferListedPhoto(path, k, folders, copy, cache, crossDevice);
    } catch (...) {
        TransferOutcome outcome;
        outcome.failure = failureOf(FailureCode::OutOfMemory);
        return outcome;
    }
}

/// The job folder's lists of a sort run.
struct SortLists {
    SpaceReserve reserve;
    RecordList failures;
    RecordList outputs;

    bool create(const std::filesystem::path& tmp) {
        reserve.create(tmp);
        return failures.create(tmp, job::kFailures, &reserve) &&
               outputs.create(tmp, job::kOutputs, &reserve, RecordList::Writing::InBatches);
    }
    bool lost() const { return failures.lost() || outputs.lost(); }
};

}  // namespace

ToolExit runBrevin(ToolArguments args) {
    const auto settings = parseSortArguments(args);
    if (!settings)
        return ToolExit::Usage;
    if (settings->source.empty() || settings->tmp.empty())
        return ToolExit::JobFilesUnreadable;
    const auto files = readWorkList(settings->tmp / job::kWorkList);
    if (!files)
        return ToolExit::JobFilesUnreadable;
    SortLists lists;
    if (!lists.create(settings->tmp))
        return ToolExit::JobFilesUnreadable;

    auto folders = std::make_unique<DestinationFolders>(*settings);
    if (folders->create() == FolderSetUp::ReadOnly)
        return ToolExit::SourceReadOnly;
    watchStopSignals();
    SortStatus status(settings->tmp / job::kStatus, static_cast<std::int64_t>(files->size()),
                      &lists.reserve);
    status.begin();
    const std::string moved(settings->copy ? job::output_result::kCopied
                                           : job::output_result::kMoved);
    const std::filesystem::path source = settings->source;
    std::atomic<bool> readOnlyMet{false};
    const auto account = [&](std::size_t k, const TransferOutcome& outcome) {
        const std::string& path = (*files)[k];
        if (outcome.succeeded) {
            lists.outputs.append(path, {moved, (source / outcome.destination).string()});
        } else {
            lists.failures.append(path, outcome.failure);
            // A file system that turned read-only fails every photo after
            // this one: they are left as they are, not failed one by one.
            if (outcome.failure.code == FailureCode::ReadOnly) {
                readOnlyMet = true;
                requestStop();
            }
        }
        status.recordOutcome(outcome.succeeded, outcome.size);
    };
    const auto transfer = [&](std::size_t k) {
        account(k, transferCountingErrors((*files)[k], k, *folders, settings->copy));
    };
    if (settings->copy) {
        runBounded(files->size(), settings->workers, transfer, "Velmora.Sort", &stopFlag());
    } else {
        // A move within one file system is a rename, and renames into one
        // folder take turns on its lock in the kernel: more threads only
        // wait for each other. So this thread renames them all, and only
        // the moves that need a copy go to the workers.
        std::vector<std::size_t> needCopies;
        for (std::size_t k = 0; k < files->size() && !stopRequested(); ++k) {
            const auto outcome =
                transferCountingErrors((*files)[k], k, *folders, false, CrossDevice::Leave);
            if (outcome.needsCopy) {
                needCopies.push_back(k);
            } else {
                account(k, outcome);
            }
        }
        runBounded(
            needCopies.size(), settings->workers, [&](std::size_t i) { transfer(needCopies[i]); },
            "Velmora.Sort", &stopFlag());
    }
    // The temporary areas go before the last status line says the run ended.
    folders.reset();
    lists.outputs.flush();
    const bool statusWritten = status.finish();
    endByStopSignal();
    if (readOnlyMet)
        return ToolExit::SourceReadOnly;
    if (!statusWritten || lists.lost())
        return ToolExit::JobFilesNotWritten;
    return ToolExit::Done;
}

}  // namespace velmora
