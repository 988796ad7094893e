// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tool_entry.h"

namespace velmora {

/// Runs the sort scan `Tallix SOURCE TMP` on `args` (runScan): lists every
/// numbered photo of SOURCE in TMP as odd or even, sets everything else
/// aside, and keeps the progress line and then the summary there.
ToolExit runTallix(ToolArguments args);

}  // namespace velmora
