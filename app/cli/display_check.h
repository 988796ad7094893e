// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora::cli {

/// True when the window has somewhere to open: QT_QPA_PLATFORM chooses a
/// platform (offscreen, vnc, …), or a display server answers on the socket
/// that WAYLAND_DISPLAY or a local DISPLAY names. A DISPLAY on another host
/// is taken on trust.
bool hasDisplay();

/// What velmora says instead of opening its window where hasDisplay() is
/// false: why, then a virtual display, or a subcommand. Ends with a line
/// feed.
QString noDisplayMessage();

}  // namespace velmora::cli
