// SPDX-License-Identifier: GPL-3.0-or-later
#include "source_folder.h"

#include <dirent.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace velmora::cli {

std::optional<QString> usableSourceFolder(const QString& given, Console& console) {
    const QString path = QDir::cleanPath(QFileInfo(given).absoluteFilePath());
    DIR* folder = opendir(QFile::encodeName(path).constData());
    if (folder == nullptr) {
        console.error(QStringLiteral("cannot use '%1' as SOURCE: %2")
                          .arg(given, QString::fromLocal8Bit(std::strerror(errno))));
        return std::nullopt;
    }
    closedir(folder);
    return path;
}

}  // namespace velmora::cli
