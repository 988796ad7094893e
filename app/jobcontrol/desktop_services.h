// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

namespace velmora {

/// What the job models ask of the desktop they run on, beyond their own
/// figures and texts. The window sets them at start-up (the completion sound,
/// the clipboard and notifications, which need the GUI libraries); the
/// command line sets none, so that a run there ends in words only and the
/// models need no more than QtCore.
struct DesktopServices {
    std::function<void()> runFinished;             ///< a run ended well: make it heard
    std::function<void(const QString&)> copyText;  ///< puts the text on the clipboard
    /// A run ended, well or not: `summary` and `body` say how, as its end
    /// alert or status line does, for a user who did not see it end.
    std::function<void(const QString& summary, const QString& body)> runEnded;
};

/// Replaces the services the models use; called on the main thread before
/// any model exists.
void setDesktopServices(DesktopServices services);

/// The services set last; empty functions before any was set.
const DesktopServices& desktopServices();

}  // namespace velmora
