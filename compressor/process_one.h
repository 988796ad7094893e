// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "failure_reason.h"
#include "image_tool.h"
#include "listed_path.h"
#include "publish_folder.h"
#include "worker_folder.h"

namespace velmora {

/// What became of one photo.
enum class FileResult {
    Failed,        ///< nothing in the output folder; `failure` says why
    Compressed,    ///< re-encoded at the run's quality
    Kept,          ///< the source's own bytes: no re-encoding came out smaller
    Uncompressed,  ///< copied unchanged: the encoder could not read it as an image
    AlreadyMade,   ///< an earlier, interrupted run made its output: not made again
    Abandoned,     ///< the run was stopped while it was being encoded: left not done
};

/// What compressing one photo gives the run's counters.
struct FileOutcome {
    FileResult result = FileResult::Failed;
    std::int64_t sourceBytes = 0;  ///< size of the source before the tool ran; 0 if unreadable
    std::int64_t outputBytes = 0;  ///< size of the file left in the output folder; 0 on failure
    std::string output;            ///< the output's name in the output folder
    Failure failure;  ///< why it failed; for Uncompressed, why the encoder could not read it

    bool success() const { return result != FileResult::Failed && result != FileResult::Abandoned; }
};

/// The output names a run has made, so that a photo listed twice is made
/// twice instead of being taken for the output of an earlier run.
class MadeNames {
  public:
    void add(const std::string& name);
    bool contains(const std::string& name) const;

  private:
    mutable std::mutex lock_;
    std::set<std::string> names_;
};

/// Job-wide settings that every per-file step reads.
struct CompressSettings {
    WorkerFolder outdir;  ///< the output folder, or why it cannot be used
    int quality = 50;
    std::optional<ImageTool> tool;          ///< nothing: no tool on this machine
    std::unique_ptr<PublishFolder> output;  ///< how files get their names in the output folder
    mode_t umask = 022;                     ///< limits the outputs' permission bits
    std::unique_ptr<MadeNames> made = std::make_unique<MadeNames>();
};

/// Re-encodes the photo listed as `path` into the output folder. The tool
/// writes into the run's temporary area; a JPEG it delivers is named there
/// with encodedOutputName (".jpg" for other formats), a free numbered name
/// when that is taken, only once complete, and only when it is smaller than
/// the source: else the source's own bytes go there instead (Kept). When the
/// tool cannot read the photo as an image, the source is copied there
/// unchanged under its own name (Uncompressed); when it cannot write its
/// output (a full disk, a failing medium) the photo fails. An output that an
/// earlier run made from this very source (the same name, modification time
/// and a whole file) is not made again. Every output takes the source's
/// access and modification times and its permission bits limited by the
/// umask. Only a regular file is read (never through a link in its place),
/// reached through its folder open in `cache` (this thread's).
FileOutcome processOne(const std::string& path, const CompressSettings& settings,
                       FolderCache& cache);

}  // namespace velmora
