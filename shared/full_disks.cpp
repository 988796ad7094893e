// SPDX-License-Identifier: GPL-3.0-or-later
#include "full_disks.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace velmora {

namespace {

std::mutex lock;
std::vector<dev_t> full;

}  // namespace

void noteDiskFull(dev_t device) {
    std::lock_guard guard(lock);
    if (std::find(full.begin(), full.end(), device) == full.end())
        full.push_back(device);
}

bool isDiskFull(dev_t device) {
    std::lock_guard guard(lock);
    return std::find(full.begin(), full.end(), device) != full.end();
}

}  // namespace velmora
