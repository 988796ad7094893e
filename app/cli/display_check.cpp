// SPDX-License-Identifier: GPL-3.0-or-later
#include "display_check.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QRegularExpression>
#include <QtGlobal>

#include <cstring>

namespace velmora::cli {

namespace {

/// True when a server accepts a connection on the unix socket `path`; a
/// leading '@' names an abstract socket.
bool answers(const QByteArray& path) {
    sockaddr_un address{};
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) {
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    if (path.startsWith('@')) {
        address.sun_path[0] = '\0';
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size());
    const bool connected = connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    close(fd);
    return connected;
}

/// True when the X server of DISPLAY answers: ":N" and "unix:N" on its
/// local socket, abstract or in /tmp/.X11-unix; any other host on trust.
bool xServerAnswers(const QString& display) {
    static const QRegularExpression form(QStringLiteral(R"(^([^:]*):(\d+)(\.\d+)?$)"));
    const auto parts = form.match(display);
    if (!parts.hasMatch()) {
        return display.startsWith(u'/') && answers(display.toLocal8Bit());  // a socket path
    }
    const QString host = parts.captured(1);
    if (!host.isEmpty() && host != QLatin1String("unix")) {
        return true;
    }
    const QByteArray socket = "/tmp/.X11-unix/X" + parts.captured(2).toLatin1();
    return answers('@' + socket) || answers(socket);
}

/// True when the Wayland compositor of WAYLAND_DISPLAY answers.
bool waylandAnswers(const QString& display) {
    if (display.startsWith(u'/')) {
        return answers(display.toLocal8Bit());
    }
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && answers((runtime + u'/' + display).toLocal8Bit());
}

}  // namespace

bool hasDisplay() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        return true;
    }
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    const QString x = qEnvironmentVariable("DISPLAY");
    return (!wayland.isEmpty() && waylandAnswers(wayland)) || (!x.isEmpty() && xServerAnswers(x));
}

QString noDisplayMessage() {
    const QString x = qEnvironmentVariable("DISPLAY");
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    QString why;
    if (x.isEmpty() && wayland.isEmpty()) {
        why = QStringLiteral("DISPLAY and WAYLAND_DISPLAY are unset");
    } else {
        QStringList set;
        if (!x.isEmpty()) {
            set << QStringLiteral("DISPLAY=") + x;
        }
        if (!wayland.isEmpty()) {
            set << QStringLiteral("WAYLAND_DISPLAY=") + wayland;
        }
        why = set.join(QStringLiteral(" and ")) +
              QStringLiteral(" set, but no display server answers there");
    }
    return QStringLiteral(
               "velmora: no display for the window (%1).\n"
               "Open it in a virtual display with 'xvfb-run -a velmora', or work "
               "without a window:\n"
               "'velmora sort SOURCE' or 'velmora compress SOURCE' (see 'velmora "
               "--help').\n")
        .arg(why);
}

}  // namespace velmora::cli
