// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-limit PARENT_PID CPU_SECONDS ADDRESS_SPACE_BYTES PROGRAM
// [ARGUMENT...]: runs PROGRAM under resource limits, bound to die with its
// parent. Moskel starts every image tool through it, so the limits hold from
// the tool's first instruction on.
#include <span>

#include "resource_limits.h"

int main(int argc, char** argv) {
    return velmora::execWithLimits(std::span<char* const>(argv + 1, argv + argc));
}
