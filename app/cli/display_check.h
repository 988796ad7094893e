#pragma once

#include <QString>

namespace velmora::cli {

/// True when the window has somewhere to open: DISPLAY or WAYLAND_DISPLAY
/// is set, or QT_QPA_PLATFORM chooses a platform (offscreen, vnc, …).
bool hasDisplay();

/// What velmora says instead of opening its window where hasDisplay() is
/// false: a virtual display, or a subcommand. Ends with a line feed.
QString noDisplayMessage();

}  // namespace velmora::cli
