// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "command_line.h"
#include "console.h"

namespace velmora::cli {

/// "velmora sort": sorts SOURCE through a SorterModel. Returns the exit status.
int runSort(const JobOptions& options, Console& console);

/// "velmora compress": compresses SOURCE through a CompressModel. Returns
/// the exit status.
int runCompress(const JobOptions& options, Console& console);

}  // namespace velmora::cli
