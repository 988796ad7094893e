// SPDX-License-Identifier: GPL-3.0-or-later
#include "folder_paths.h"

#include <QDir>
#include <QFileInfo>

QUrl FolderPaths::typedFolder(const QString& typed, const QUrl& shown) const {
    QString path = typed.trimmed();
    if (path.startsWith(QLatin1String("file:"))) {
        path = QUrl(path).toLocalFile();
    } else if (path == u'~' || path.startsWith(QLatin1String("~/"))) {
        path = QDir::homePath() + path.mid(1);
    } else if (!path.isEmpty() && QDir::isRelativePath(path)) {
        path = QDir(shown.toLocalFile()).filePath(path);
    }
    if (path.isEmpty() || !QDir::isAbsolutePath(path) || !QFileInfo(path).isDir()) {
        return {};
    }
    return QUrl::fromLocalFile(QDir::cleanPath(path));
}

QUrl FolderPaths::parentFolder(const QUrl& folder) const {
    const QString path = QDir::cleanPath(folder.toLocalFile());
    if (path.isEmpty() || path == u'/') {
        return folder;
    }
    return QUrl::fromLocalFile(QFileInfo(path).absolutePath());
}

QStringList FolderPaths::subfolderNames(const QUrl& folder) const {
    const QString path = folder.toLocalFile();
    if (path.isEmpty()) {
        return {};
    }
    return QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot,
                                QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
}

QUrl FolderPaths::subfolder(const QUrl& folder, const QString& name) const {
    return QUrl::fromLocalFile(QDir(folder.toLocalFile()).filePath(name));
}

QString FolderPaths::pathOf(const QUrl& folder) const {
    return folder.toLocalFile();
}
