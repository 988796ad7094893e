// SPDX-License-Identifier: GPL-3.0-or-later
// Brevin SOURCE TMP MODE WORKERS ODD EVEN: the sort worker.
#include "sort_job.h"

int main(int argc, char** argv) {
    return velmora::runToolMain(velmora::runBrevin, argc, argv);
}
