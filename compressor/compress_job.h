#pragma once

#include "tool_entry.h"

namespace velmora {

/// Runs the compress worker `Moskel SOURCE TMP QUALITY WORKERS` on `args`:
/// reads the work list in TMP, creates the output folder for QUALITY in
/// SOURCE, compresses every listed photo there with the image tool of this
/// machine (findImageTool) on up to WORKERS threads, and keeps the status
/// file in TMP up to date. Without a tool every file fails and nothing is
/// written to the output folder. Usage and JobFilesUnreadable (the work
/// list missing or not UTF-8) write nothing.
ToolExit runMoskel(ToolArguments args);

}  // namespace velmora
