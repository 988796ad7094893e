#pragma once

#include <span>

namespace velmora {

/// Exit statuses of velmora-limit when it cannot become the program.
inline constexpr int kLimitUsageExit = 125;
inline constexpr int kLimitExecExit = 127;

/// velmora-limit's work: `args` (without the program name, and followed by a
/// null pointer, as in main's argv) are CPU_SECONDS ADDRESS_SPACE_BYTES
/// PROGRAM [ARGUMENT...]. Sets RLIMIT_CPU (SIGXCPU at the
/// limit, SIGKILL a second later), RLIMIT_AS (none for 0) and a zero
/// RLIMIT_CORE on this process, then replaces it with PROGRAM. Returns only on failure, with the
/// exit status to use.
int execWithLimits(std::span<char* const> args);

}  // namespace velmora
