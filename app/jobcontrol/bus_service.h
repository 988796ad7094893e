// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QString>

namespace velmora {

/// The XDG desktop portal's name on the session bus.
inline const QString kDesktopPortalService = QStringLiteral("org.freedesktop.portal.Desktop");

/// True when `service` answers on `bus`: running, or started by the bus on
/// the first call to it.
bool serviceOnBus(const QDBusConnection& bus, const QString& service);

}  // namespace velmora
