// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_identity.h"

#include <QDir>
#include <QGuiApplication>
#include <QIcon>

namespace velmora {

QString applicationId() {
    return QStringLiteral(VELMORA_APP_ID);
}

void applyDesktopIdentity(const QString& dataDirectory) {
    QGuiApplication::setApplicationName(QStringLiteral("Velmora"));
    QGuiApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    QGuiApplication::setDesktopFileName(applicationId());
    QGuiApplication::setWindowIcon(
        QIcon(QDir(dataDirectory)
                  .filePath(QStringLiteral("icons/hicolor/256x256/apps/") + applicationId() +
                            QStringLiteral(".png"))));
}

}  // namespace velmora
