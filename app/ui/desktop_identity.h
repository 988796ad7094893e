// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

/// The application id: the name of the desktop entry, the icon and the
/// AppStream metainfo.
QString applicationId();

/// Gives the window application its place on the desktop: its shown name
/// "Velmora", its desktop entry (so a Wayland compositor matches the window
/// to it) and its icon, the 256 px one below `dataDirectory` (the "share"
/// folder of the installation, in the build tree as in an installed tree).
/// Call after the QGuiApplication is made.
void applyDesktopIdentity(const QString& dataDirectory);

}  // namespace velmora
