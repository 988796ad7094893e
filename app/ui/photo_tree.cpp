#include "photo_tree.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

bool writePhotoTree(const QString& root, const QStringList& relativePaths) {
    for (const QString& relative : relativePaths) {
        const QString path = QDir(root).filePath(relative);
        QFile file(path);
        if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly) ||
            file.write(relative.toUtf8()) != relative.toUtf8().size()) {
            return false;
        }
    }
    return true;
}

QStringList listPhotoTree(const QString& root) {
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << QDir(root).relativeFilePath(it.next());
    }
    files.sort();
    return files;
}

QByteArray readWholeFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
