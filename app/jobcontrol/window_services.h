// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

/// Gives the job models the window's desktop: the completion sound at the
/// end of a run that ended well (playCompletionSound()), the clipboard of
/// the QGuiApplication, and a desktop notification (DesktopNotifier) when a
/// run ends while none of the application's windows is active. Call once
/// the application object is made.
void useWindowServices();

}  // namespace velmora
