// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

namespace velmora {

/// Notes that the file system `device` has no room left: a write there
/// failed with ENOSPC or EDQUOT. Process-wide, safe from many threads.
void noteDiskFull(dev_t device);

/// True once noteDiskFull(`device`) has been called: the photos still to be
/// written there fail at once instead of each writing until the disk
/// refuses again.
bool isDiskFull(dev_t device);

}  // namespace velmora
