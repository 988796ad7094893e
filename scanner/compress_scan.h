// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tool_entry.h"

namespace velmora {

/// Runs the compress job's scan `compress-scan SOURCE TMP` on `args`
/// (runScan): lists every photo of SOURCE, outside compress output folders,
/// in the work list in TMP, and writes the summary there.
ToolExit runCompressScan(ToolArguments args);

}  // namespace velmora
