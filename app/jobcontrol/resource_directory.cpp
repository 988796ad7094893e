// SPDX-License-Identifier: GPL-3.0-or-later
#include "resource_directory.h"

#include <QCoreApplication>
#include <QDir>

namespace velmora {

namespace {

QString& prefixFromProgram() {
    static QString relative = QStringLiteral("..");
    return relative;
}

}  // namespace

QString installationPrefix() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u'/' + prefixFromProgram());
}

void setPrefixFromProgram(const QString& relativePath) {
    prefixFromProgram() = relativePath;
}

QString applicationResourceDirectory() {
    return installationPrefix() + QStringLiteral("/share/velmora");
}

}  // namespace velmora
