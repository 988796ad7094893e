// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

namespace velmora {

/// Desktop notifications from the window: through the XDG desktop portal's
/// Notification interface where the portal is on the bus, else through the
/// freedesktop notification server (org.freedesktop.Notifications). Never
/// waits for either; where neither answers, nothing is shown.
class DesktopNotifier : public QObject {
    Q_OBJECT

  public:
    /// A notifier on `bus`, naming the application `appId` (its desktop
    /// entry and icon) and `appName`.
    DesktopNotifier(const QDBusConnection& bus, const QString& appId, const QString& appName,
                    QObject* parent = nullptr);

    /// Shows `summary` over `body`. Each call replaces the one before, so
    /// that runs ended unseen leave one notification, the latest.
    void notify(const QString& summary, const QString& body);

  signals:
    /// The notification went out (through the portal or the server), or
    /// could not: for tests and the log.
    void sent(bool delivered);

  private:
    void notifyServer(const QString& summary, const QString& body);

    QDBusConnection bus_;
    QString appId_;
    QString appName_;
    uint serverId_ = 0;  ///< the server's id of the one shown, to replace it
};

}  // namespace velmora
