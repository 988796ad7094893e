// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_notifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>

#include "bus_service.h"

namespace velmora {

namespace {

const QString kServerService = QStringLiteral("org.freedesktop.Notifications");
/// The portal's id of the window's notification: one at a time.
const QString kPortalNotificationId = QStringLiteral("run-ended");

}  // namespace

DesktopNotifier::DesktopNotifier(const QDBusConnection& bus, const QString& appId,
                                 const QString& appName, QObject* parent)
    : QObject(parent), bus_(bus), appId_(appId), appName_(appName) {}

void DesktopNotifier::notify(const QString& summary, const QString& body) {
    if (!serviceOnBus(bus_, kDesktopPortalService)) {
        notifyServer(summary, body);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        kDesktopPortalService, QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Notification"), QStringLiteral("AddNotification"));
    call << kPortalNotificationId
         << QVariantMap{{QStringLiteral("title"), summary},
                        {QStringLiteral("body"), body},
                        {QStringLiteral("priority"), QStringLiteral("normal")}};
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, summary, body](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (w->isError()) {
                    // A portal without notifications of its own.
                    notifyServer(summary, body);
                } else {
                    emit sent(true);
                }
            });
}

void DesktopNotifier::notifyServer(const QString& summary, const QString& body) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        kServerService, QStringLiteral("/org/freedesktop/Notifications"), kServerService,
        QStringLiteral("Notify"));
    call << appName_ << serverId_ << appId_ << summary << body << QStringList()
         << QVariantMap{{QStringLiteral("desktop-entry"), appId_}} << -1;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isError()) {
            emit sent(false);
            return;
        }
        serverId_ = reply.value();
        emit sent(true);
    });
}

}  // namespace velmora
