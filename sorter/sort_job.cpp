#include "sort_job.h"

#include "bounded_pool.h"
#include "destination_folder.h"
#include "job_protocol.h"
#include "sort_settings.h"
#include "sort_status.h"
#include "transfer_step.h"
#include "work_list.h"

namespace velmora {

namespace {

TransferOutcome transferCountingErrors(const std::string& path, std::size_t k,
                                       const DestinationFolders& folders, bool copy) {
    try {
        return transferListedPhoto(path, k, folders, copy);
    } catch (...) {
        return {};  // out of memory and the like: this photo failed
    }
}

}  // namespace

ToolExit runBrevin(ToolArguments args) {
    const auto settings = parseSortArguments(args);
    if (!settings)
        return ToolExit::Usage;
    const auto files = readWorkList(settings->tmp / job::kWorkList);
    if (!files)
        return ToolExit::JobFilesUnreadable;

    DestinationFolders folders(*settings);
    folders.create();
    SortStatus status(settings->tmp / job::kStatus, static_cast<std::int64_t>(files->size()));
    status.begin();
    runBounded(
        files->size(), settings->workers,
        [&](std::size_t k) {
            const auto outcome = transferCountingErrors((*files)[k], k, folders, settings->copy);
            status.recordOutcome(outcome.succeeded, outcome.size);
        },
        "Velmora.Sort");
    status.finish();
    return ToolExit::Done;
}

}  // namespace velmora
