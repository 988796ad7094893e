#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "image_tool.h"

namespace velmora {

/// What compressing one photo gives the run's counters.
struct FileOutcome {
    bool success = false;
    std::int64_t sourceBytes = 0;  ///< size of the source before the tool ran; 0 if unreadable
    std::int64_t outputBytes = 0;  ///< size of the file left in the output folder; 0 on failure
};

/// Job-wide settings that every per-file step reads.
struct CompressSettings {
    std::filesystem::path outdir;
    int quality = 50;
    std::optional<ImageTool> tool;  ///< nothing: no tool on this machine
};

/// Re-encodes the photo at `path` into `settings.outdir` under its own file
/// name (a free numbered one when taken, reserved before the tool runs).
/// When the tool fails or leaves no JPEG, the source is copied there
/// unchanged instead, which also counts as a success. Without a tool, or
/// when neither works, it fails and leaves nothing in the output folder.
FileOutcome processOne(const std::string& path, const CompressSettings& settings);

}  // namespace velmora
