// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How a worker run is asked to stop handing out photos before the end of its
// list: by a signal (SIGTERM, SIGINT, SIGHUP: the user ended the job), or by
// the run itself when its photo folder turns out to be read-only. The photos
// in flight still end whole and are counted; the rest stay where they were.
// Process-wide: a tool runs one job.

#include <atomic>

namespace velmora {

/// From now on SIGTERM, SIGINT and SIGHUP ask the run to stop instead of
/// ending the process at once.
void watchStopSignals();

/// The environment variable by which a launcher asks its tools to end with
/// it: it holds the launcher's process id.
inline constexpr const char* kLauncherVariable = "VELMORA_LAUNCHER_PID";

/// When the launcher named by kLauncherVariable is this process's parent,
/// has SIGTERM sent here when it dies; when it is already gone, raises
/// SIGTERM at once. The variable is then dropped, so that the tool's own
/// children do not take it. Does nothing without the variable.
void endWithLauncher();

/// True for the signals that ask a run to stop: SIGTERM, SIGINT, SIGHUP.
bool isStopSignal(int signal);

/// Set once the run should stop: read it before each photo.
const std::atomic<bool>& stopFlag();

/// True once the run should stop.
inline bool stopRequested() {
    return stopFlag().load(std::memory_order_relaxed);
}

/// Asks the run to stop, for a reason of its own.
void requestStop();

/// The signal that asked the run to stop, 0 when none did.
int stopSignal();

/// When a signal asked the run to stop, ends the process as that signal
/// would have (its default action, raised again), so that a parent sees it
/// ended by the signal. Returns when none did.
void endByStopSignal();

}  // namespace velmora
