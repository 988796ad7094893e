// SPDX-License-Identifier: GPL-3.0-or-later
// velmora: the command line (always in English), which needs QtCore only:
// --help, --version and the subcommands sort and compress, which need no
// display. Alone it opens the window, a program of its own installed beside
// the tools (the package "velmora"), so that the command line installs
// without the window's libraries.
#include "command_dispatch.h"
#include "window_launch.h"

int main(int argc, char* argv[]) {
    if (const auto exitStatus = velmora::cli::runWithoutWindow(argc, argv)) {
        return *exitStatus;
    }
    return velmora::cli::openWindow(argv);
}
