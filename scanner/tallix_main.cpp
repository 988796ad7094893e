// SPDX-License-Identifier: GPL-3.0-or-later
// Tallix SOURCE TMP: the sort scan.
#include "tallix.h"

int main(int argc, char** argv) {
    return velmora::runToolMain(velmora::runTallix, argc, argv);
}
