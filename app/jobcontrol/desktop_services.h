// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

namespace velmora {

/// What the job models ask of the desktop they run on, beyond their own
/// figures and texts. The window sets both at start-up (the completion sound
/// and the clipboard, which need the GUI libraries); the command line sets
/// neither, so that a run there ends in words only and the models need no
/// more than QtCore.
struct DesktopServices {
    std::function<void()> runFinished;             ///< a run ended well: make it heard
    std::function<void(const QString&)> copyText;  ///< puts the text on the clipboard
};

/// Replaces the services the models use; called on the main thread before
/// any model exists.
void setDesktopServices(DesktopServices services);

/// The services set last; empty functions before any was set.
const DesktopServices& desktopServices();

}  // namespace velmora
