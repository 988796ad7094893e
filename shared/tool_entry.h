// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one shape of the command-line tools Tallix, compress-scan, Brevin and
// Moskel: an entry that takes the arguments after the program name and
// gives one of the exit statuses below.

#include <span>
#include <string_view>
#include <vector>

#include "run_stop.h"

namespace velmora {

/// How a tool's run ends; the value is its exit status.
enum class ToolExit : int {
    Done = 0,                ///< the run is complete; files it could not use are counted
    SummaryNotWritten = 1,   ///< a scan walked the tree but could not write its summary
    Usage = 2,               ///< wrong argument count; nothing was touched
    JobFilesUnreadable = 3,  ///< the job folder's files cannot be opened or read
    /// A worker could not write its status line, failure list or output list
    /// (the job folder's disk is full, or failing): the job folder may count
    /// fewer photos than were handled.
    JobFilesNotWritten = 4,
    /// A worker's photo folder is on a read-only file system: nothing was
    /// touched.
    SourceReadOnly = 5,
};

/// A tool's command-line arguments after the program name.
using ToolArguments = std::span<const std::string_view>;

/// A tool's entry: runs the tool on `args` and tells how it ended.
using ToolEntry = ToolExit (*)(ToolArguments args);

/// The whole of a tool's main function: binds the tool to its launcher
/// where asked, runs `entry` on the arguments after the program name and
/// gives its exit status.
inline int runToolMain(ToolEntry entry, int argc, char** argv) {
    endWithLauncher();
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return static_cast<int>(entry(args));
}

}  // namespace velmora
