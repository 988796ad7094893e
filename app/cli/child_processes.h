// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora::cli {

/// Sends `signal` to every child process of this process: to the child's
/// whole process group when it leads one (a backend and the tools it
/// starts), else to the child alone. In a subcommand the only children are
/// the backends of its job. Returns how many children were signalled.
int signalChildProcesses(int signal);

}  // namespace velmora::cli
