// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>

namespace velmora {

/// Exit statuses of velmora-limit when it cannot become the program.
inline constexpr int kLimitUsageExit = 125;
inline constexpr int kLimitParentGoneExit = 126;
inline constexpr int kLimitExecExit = 127;

/// velmora-limit's work: `args` (without the program name, and followed by a
/// null pointer, as in main's argv) are PARENT_PID CPU_SECONDS
/// ADDRESS_SPACE_BYTES PROGRAM [ARGUMENT...]. Has this process killed
/// (SIGKILL) when the thread that started it ends, and gives up at once when
/// its parent is no longer PARENT_PID (it died before that took hold); sets
/// RLIMIT_CPU (SIGXCPU at the limit, SIGKILL a second later), RLIMIT_AS
/// (none for 0) and a zero RLIMIT_CORE; then replaces this process with
/// PROGRAM, which keeps all of that. Returns only on failure, with the exit
/// status to use.
int execWithLimits(std::span<char* const> args);

}  // namespace velmora
