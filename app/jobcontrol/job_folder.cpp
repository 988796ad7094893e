#include "job_folder.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <sys/stat.h>

namespace velmora {

QString makeJobFolder(const QString& prefix) {
    const QString parent = QDir::tempPath();
    const QString name = prefix + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    const QString path = QDir(parent).filePath(name);
    QDir().mkpath(parent);
    // The folder name is fresh, so mkdir either makes our own private folder
    // or fails; the failure shows later through the backend's exit status.
    ::mkdir(QFile::encodeName(path).constData(), S_IRWXU);
    return path;
}

}  // namespace velmora
