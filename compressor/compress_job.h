// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tool_entry.h"

namespace velmora {

/// Runs the compress worker `Moskel SOURCE TMP QUALITY WORKERS` on `args`:
/// reads the work list in TMP, creates the output folder for QUALITY in
/// SOURCE, compresses every listed photo there with the image tool of this
/// machine (findImageTool) on up to WORKERS threads, and keeps the status
/// file in TMP up to date; each photo that fails gets a line in the failure
/// list in TMP. The output folder is made and opened without following a
/// link; temporary areas that killed runs left in it are removed first.
/// Without a tool every file fails and nothing is written to the output
/// folder. Usage and JobFilesUnreadable (an empty SOURCE or TMP, the work
/// list missing, not a regular file or not UTF-8, or no failure list) write
/// nothing.
ToolExit runMoskel(ToolArguments args);

}  // namespace velmora
