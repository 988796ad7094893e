// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_launch.h"

#include <unistd.h>

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "display_check.h"
#include "program_location.h"

namespace velmora::cli {

namespace {

void write(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stderr);
}

}  // namespace

QString windowProgram() {
    return QDir::cleanPath(
        QFile::decodeName(programBesideThisOne(VELMORA_WINDOW_FROM_PROGRAM).c_str()));
}

QString windowMissingMessage() {
    return QStringLiteral(
        "velmora: the window is not installed; install the package \"velmora\" for it "
        "('velmora sort' and 'velmora compress' work without it).\n");
}

int openWindow(char** argv) {
    // Told first: on a machine without the window, a display would not help.
    const QByteArray window = QFile::encodeName(windowProgram());
    if (access(window.constData(), X_OK) != 0) {
        write(windowMissingMessage());
        return 1;
    }
    // Without a display Qt would abort; say what to do instead.
    if (!hasDisplay()) {
        write(noDisplayMessage());
        return 1;
    }
    execv(window.constData(), argv);
    const int error = errno;
    write(QStringLiteral("velmora: cannot start the window %1: %2\n")
              .arg(QString::fromLocal8Bit(window), QString::fromLocal8Bit(std::strerror(error))));
    return 1;
}

}  // namespace velmora::cli
