#pragma once

#include "tool_entry.h"

namespace velmora {

/// Runs the sort worker `Brevin SOURCE TMP MODE WORKERS ODD EVEN` on `args`:
/// reads the work list in TMP, creates the destination folders, transfers
/// every listed photo with at most WORKERS in flight, and keeps the status
/// file in TMP up to date. Done once every listed photo was attempted,
/// however many failed; Usage and JobFilesUnreadable (the work list
/// missing, unreadable or not UTF-8) touch nothing.
ToolExit runBrevin(ToolArguments args);

}  // namespace velmora
