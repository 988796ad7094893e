// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tool_entry.h"

namespace velmora {

/// Runs the sort worker `Brevin SOURCE TMP MODE WORKERS ODD EVEN` on `args`:
/// reads the work list in TMP, creates the destination folders, transfers
/// every listed photo with at most WORKERS in flight, and keeps the status
/// file in TMP up to date; each photo that fails gets a line in the
/// failure list in TMP. Done once every listed photo was attempted, however
/// many failed; Usage and JobFilesUnreadable (an empty SOURCE or TMP, the
/// work list missing, not a regular file or not UTF-8, or no failure list)
/// touch nothing.
ToolExit runBrevin(ToolArguments args);

}  // namespace velmora
