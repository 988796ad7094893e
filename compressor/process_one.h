#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "failure_reason.h"
#include "image_tool.h"
#include "listed_path.h"
#include "temporary_area.h"
#include "worker_folder.h"

namespace velmora {

/// What compressing one photo gives the run's counters.
struct FileOutcome {
    bool success = false;
    std::int64_t sourceBytes = 0;  ///< size of the source before the tool ran; 0 if unreadable
    std::int64_t outputBytes = 0;  ///< size of the file left in the output folder; 0 on failure
    Failure failure;               ///< why it failed
};

/// Job-wide settings that every per-file step reads.
struct CompressSettings {
    WorkerFolder outdir;  ///< the output folder, or why it cannot be used
    int quality = 50;
    std::optional<ImageTool> tool;        ///< nothing: no tool on this machine
    std::unique_ptr<TemporaryArea> area;  ///< this run's area in the output folder
    mode_t umask = 022;                   ///< limits the outputs' permission bits
};

/// Re-encodes the photo listed as `path` into the output folder. The tool
/// writes into the run's temporary area; a JPEG it delivers is named there
/// with encodedOutputName (".jpg" for other formats), a free numbered name
/// when that is taken, only once complete. When the tool fails or leaves no
/// JPEG, the source is copied there unchanged under its own name instead,
/// which also counts as a success. Outputs take the source's permission bits
/// limited by the umask. Only a regular file is read (never through a link
/// in its place), reached through its folder open in `cache` (this
/// thread's). Without a tool, or when neither works, it fails and leaves
/// nothing in the output folder.
FileOutcome processOne(const std::string& path, const CompressSettings& settings,
                       FolderCache& cache);

}  // namespace velmora
