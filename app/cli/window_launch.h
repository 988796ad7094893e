// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora::cli {

/// The window program of the installation this program lies in: its own
/// folder (as the kernel knows it, links resolved) followed by
/// VELMORA_WINDOW_FROM_PROGRAM, in the build tree as in an installed tree.
QString windowProgram();

/// What velmora says where the window program is not installed: one line,
/// ending with a line feed.
QString windowMissingMessage();

/// Opens the window: replaces this process with the window program, with
/// `argv` as it is, so that the window keeps the program's name (the X11
/// WM_CLASS "velmora" that the desktop entry's StartupWMClass names).
/// Returns only when it cannot: 1 after windowMissingMessage() where the
/// window is not installed, after noDisplayMessage() where there is no
/// display, or after the system's reason where the program cannot be run.
int openWindow(char** argv);

}  // namespace velmora::cli
