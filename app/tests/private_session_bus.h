// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace velmora::testkit {

/// A private D-Bus session bus (dbus-daemon) that starts no service of its
/// own, so that a test's stand-in for a desktop service is the only one
/// there. It is stopped when this object goes away.
class PrivateSessionBus {
  public:
    /// Starts dbus-daemon and waits for its address; see address().
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    /// The bus's address; empty when dbus-daemon is missing or did not
    /// start.
    QString address() const { return address_; }
    /// A new connection to the bus under the connection name `name`.
    QDBusConnection connect(const QString& name) const;

  private:
    QTemporaryDir folder_;
    QProcess daemon_;
    QString address_;
};

}  // namespace velmora::testkit
