#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

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
enum class ToolRun {
    Succeeded,   ///< exit status 0
    Failed,      ///< any other status, or ended by a signal
    NotStarted,  ///< the process could not be created
};

/// Runs `tool` with "-s format jpeg -s formatOptions QUALITY SOURCE --out
/// OUTPUT", standard output and error on /dev/null, no other descriptors
/// inherited, and waits for it to end.
ToolRun runImageTool(const ImageTool& tool, int quality, const std::filesystem::path& source,
                     const std::filesystem::path& output);

}  // namespace velmora
