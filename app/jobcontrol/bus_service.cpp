// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus_service.h"

#include <QDBusConnectionInterface>

namespace velmora {

bool serviceOnBus(const QDBusConnection& bus, const QString& service) {
    const QDBusConnectionInterface* daemon = bus.isConnected() ? bus.interface() : nullptr;
    return daemon && (daemon->isServiceRegistered(service).value() ||
                      daemon->activatableServiceNames().value().contains(service));
}

}  // namespace velmora
