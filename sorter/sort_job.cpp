#include "sort_job.h"

#include "bounded_pool.h"
#include "destination_folder.h"
#include "job_protocol.h"
#include "listed_path.h"
#include "record_list.h"
#include "sort_settings.h"
#include "sort_status.h"
#include "transfer_step.h"
#include "work_list.h"

#include <vector>

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
        return {false, 0, failureOf(FailureCode::OutOfMemory)};
    }
}

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
    RecordList failures;
    if (!failures.create(settings->tmp, job::kFailures))
        return ToolExit::JobFilesUnreadable;

    DestinationFolders folders(*settings);
    folders.create();
    SortStatus status(settings->tmp / job::kStatus, static_cast<std::int64_t>(files->size()));
    status.begin();
    const auto account = [&](std::size_t k, const TransferOutcome& outcome) {
        if (!outcome.succeeded)
            failures.append((*files)[k], outcome.failure);
        status.recordOutcome(outcome.succeeded, outcome.size);
    };
    const auto transfer = [&](std::size_t k) {
        account(k, transferCountingErrors((*files)[k], k, folders, settings->copy));
    };
    if (settings->copy) {
        runBounded(files->size(), settings->workers, transfer, "Velmora.Sort");
    } else {
        // A move within one file system is a rename, and renames into one
        // folder take turns on its lock in the kernel: more threads only
        // wait for each other. So this thread renames them all, and only
        // the moves that need a copy go to the workers.
        std::vector<std::size_t> needCopies;
        for (std::size_t k = 0; k < files->size(); ++k) {
            const auto outcome =
                transferCountingErrors((*files)[k], k, folders, false, CrossDevice::Leave);
            if (outcome.needsCopy) {
                needCopies.push_back(k);
            } else {
                account(k, outcome);
            }
        }
        runBounded(
            needCopies.size(), settings->workers, [&](std::size_t i) { transfer(needCopies[i]); },
            "Velmora.Sort");
    }
    status.finish();
    return ToolExit::Done;
}

}  // namespace velmora
