#include "sort_job.h"

#include "bounded_pool.h"
#include "destination_folder.h"
#include "failure_list.h"
#include "job_protocol.h"
#include "listed_path.h"
#include "sort_settings.h"
#include "sort_status.h"
#include "transfer_step.h"
#include "work_list.h"

namespace velmora {

namespace {

TransferOutcome transferCountingErrors(const std::string& path, std::size_t k,
                                       const DestinationFolders& folders, bool copy) {
    // Each worker thread keeps the folder of its last photo open: the next
    // photo in the list usually lies in the same one.
    thread_local FolderCache cache;
    try {
        return transferListedPhoto(path, k, folders, copy, cache);
    } catch (...) {
        return {false, 0, "out of memory"};
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
    FailureList failures;
    if (!failures.create(settings->tmp))
        return ToolExit::JobFilesUnreadable;

    DestinationFolders folders(*settings);
    folders.create();
    SortStatus status(settings->tmp / job::kStatus, static_cast<std::int64_t>(files->size()));
    status.begin();
    runBounded(
        files->size(), settings->workers,
        [&](std::size_t k) {
            const std::string& path = (*files)[k];
            const auto outcome = transferCountingErrors(path, k, folders, settings->copy);
            if (!outcome.succeeded)
                failures.record(path, outcome.failure);
            status.recordOutcome(outcome.succeeded, outcome.size);
        },
        "Velmora.Sort");
    status.finish();
    return ToolExit::Done;
}

}  // namespace velmora
