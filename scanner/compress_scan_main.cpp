// SPDX-License-Identifier: GPL-3.0-or-later
// compress-scan SOURCE TMP: the compress job's scan.
#include "compress_scan.h"

int main(int argc, char** argv) {
    return velmora::runToolMain(velmora::runCompressScan, argc, argv);
}
