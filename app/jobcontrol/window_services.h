// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

/// Gives the job models the window's desktop: the completion sound at the
/// end of a run that ended well (playCompletionSound()) and the clipboard of
/// the QGuiApplication. Call once the application object is made.
void useWindowServices();

}  // namespace velmora
