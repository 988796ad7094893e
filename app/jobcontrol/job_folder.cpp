// SPDX-License-Identifier: GPL-3.0-or-later
#include "job_folder.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <sys/stat.h>

#include "backend_files.h"

namespace velmora {

QString makeJobFolder(const QString& prefix) {
    // QDir::tempPath() is empty when TMPDIR names a folder that does not
    // exist yet; that folder is then made like any missing parent.
    QString parent = QDir::tempPath();
    if (parent.isEmpty()) {
        parent = QDir::cleanPath(QDir(qEnvironmentVariable("TMPDIR")).absolutePath());
    }
    const QString name = prefix + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    const QString path = QDir(parent).filePath(name);
    QDir().mkpath(parent);
    // The folder name is fresh, so mkdir either makes our own private folder
    // or fails; the failure shows later through the backend's exit status.
    ::mkdir(QFile::encodeName(path).constData(), S_IRWXU);
    return path;
}

QString jobFilePath(const QString& jobFolder, std::string_view name) {
    return QDir(jobFolder).filePath(QString::fromUtf8(name.data(), qsizetype(name.size())));
}

QString jobFileText(const QString& jobFolder, std::string_view name) {
    return readTextFile(jobFilePath(jobFolder, name)).value_or(QString());
}

}  // namespace velmora
