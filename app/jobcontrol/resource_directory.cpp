// SPDX-License-Identifier: GPL-3.0-or-later
#include "resource_directory.h"

#include <QCoreApplication>
#include <QDir>

namespace velmora {

QString applicationResourceDirectory() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/velmora"));
}

}  // namespace velmora
