// SPDX-License-Identifier: GPL-3.0-or-later
// Moskel SOURCE TMP QUALITY WORKERS: the compress worker.
#include "compress_job.h"

int main(int argc, char** argv) {
    return velmora::runToolMain(velmora::runMoskel, argc, argv);
}
