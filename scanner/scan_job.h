// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "tool_entry.h"
#include "tree_walk.h"

namespace velmora {

/// One kind of scan, as runScan drives it.
class ScanJob {
  public:
    virtual ~ScanJob() = default;

    /// Creates the files the scan writes while it walks, empty, in the job
    /// folder `tmp`, replacing earlier ones, and opens them. False when any
    /// of them cannot be opened.
    virtual bool open(const std::string& tmp) = 0;
    /// What the walk hands its entries to.
    virtual WalkVisitor& visitor() = 0;
    /// After the walk: completes the files written during it and gives the
    /// summary line with its line feed.
    virtual std::string finish() = 0;
    /// Closes the files written during the walk.
    virtual void close() = 0;
};

/// Runs the scan `program SOURCE TMP` on `args`: creates TMP with any
/// missing parents, opens the scan's files and job::kUnreadable, walks
/// SOURCE (a missing or unreadable one gives an empty scan), listing every
/// folder it cannot read in job::kUnreadable, writes the summary into TMP by
/// atomic replacement and closes the files. An empty SOURCE or TMP ends it
/// with JobFilesUnreadable before anything is touched. Prints only on standard error:
/// the usage for a wrong argument count, and the reason when the files
/// cannot be opened or the summary cannot be written.
ToolExit runScan(std::string_view program, ToolArguments args, ScanJob& scan);

}  // namespace velmora
