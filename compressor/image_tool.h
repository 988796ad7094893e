// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace velmora {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// Sanitizer builds reserve terabytes of shadow address space in every
// program, so they cannot run under an address-space limit.
inline constexpr std::int64_t kToolAddressSpace = 0;
#else
inline constexpr std::int64_t kToolAddressSpace = std::int64_t{4} << 30;
#endif

/// Resource limits every image tool run gets, set in the child before the
/// tool starts. CPU time does not advance while a job is stopped, so a
/// paused run is never cut short by them.
struct ToolLimits {
    std::int64_t cpuSeconds = 120;
    std::int64_t addressSpaceBytes = kToolAddressSpace;  ///< 0: no limit
};

/// The program that re-encodes photos, and how it is started.
struct ImageTool {
    std::filesystem::path program;  ///< takes the nine sips-style arguments
    std::filesystem::path limiter;  ///< velmora-limit: sets the limits, then execs
    ToolLimits limits;
};

/// The image tool of this machine: /usr/bin/sips where that file exists,
/// else velmora-encode in the folder of the running executable; both are
/// started through velmora-limit from that folder. Gives nothing when the
/// tool or the limiter is missing, as for a Moskel copied alone elsewhere.
std::optional<ImageTool> findImageTool();

/// How one run of the image tool ended.
enum class ToolEnd {
    Succeeded,   ///< exit status 0
    Failed,      ///< any other status, or ended by a signal
    NotStarted,  ///< the process could not be created
};

/// One run of the image tool: how it ended and, unless it succeeded, what
/// happened ("exit status 3", "ended by signal 9", or why it did not start).
struct ToolRun {
    ToolEnd end = ToolEnd::NotStarted;
    std::string failure;
    int exitStatus = -1;  ///< the tool's exit status; -1 when it did not exit
    int signal = 0;       ///< the signal that ended it, 0 if none did
};

/// Runs `tool` through its limiter with "-s format jpeg -s formatOptions
/// QUALITY /dev/fd/3 --out OUTPUT" and waits for it to end. The source is
/// the file open as `source`, handed over as descriptor 3, so the tool reads
/// that very file whatever its path (a link put in its place, a path longer
/// than PATH_MAX); OUTPUT is `outputName` in the folder open as
/// `workFolder`, the tool's working folder. Standard output and error go to
/// /dev/null, no other descriptor is inherited, and the tool is killed when
/// this process dies. A stop signal to this process is passed on to the tool.
ToolRun runImageTool(const ImageTool& tool, int quality, int source, int workFolder,
                     const std::string& outputName);

}  // namespace velmora
