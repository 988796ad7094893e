// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_kit.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "job_model.h"

namespace velmora::testkit {

bool writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).absolutePath()) &&
           file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeScript(const QString& directory, const QString& name, const QByteArray& body) {
    return writeFile(QDir(directory).filePath(name), "#!/bin/bash\n" + body + "\n");
}

bool writePhotoTree(const QString& root, const QStringList& relativePaths) {
    for (const QString& relative : relativePaths) {
        if (!writeFile(QDir(root).filePath(relative), relative.toUtf8())) {
            return false;
        }
    }
    return true;
}

QStringList filesBelow(const QString& root) {
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << QDir(root).relativeFilePath(it.next());
    }
    files.sort();
    return files;
}

char processState(qint64 pid) {
    // The state follows the command name, which is in parentheses and may
    // itself hold blanks or parentheses: look after the last ")".
    const QByteArray stat = readFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0 || close + 2 >= stat.size()) {
        return 0;
    }
    return stat[close + 2];
}

QString processName(qint64 pid) {
    return QString::fromUtf8(readFile(QStringLiteral("/proc/%1/comm").arg(pid))).trimmed();
}

bool waitUntilProcessIs(qint64 pid, const QString& name) {
    while (processState(pid) != 0) {
        if (processName(pid) == name) {
            return true;
        }
    }
    return false;
}

void prepareModel(JobModel& model, const QString& scripts, const QString& source) {
    model.runner().setResourceDirectory(scripts);
    model.runner().setPollInterval(std::chrono::milliseconds(20));
    QDir().mkpath(source);
    model.setFolderChooser([source](const QString&) { return source; });
    model.chooseSource();
}

void pretendEnglishDesktop() {
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    qputenv("LANG", "en_GB.UTF-8");
    qputenv("LANGUAGE", "en_GB");
}

QString builtScriptDirectory() {
    return QStringLiteral(VELMORA_BUILT_DATA_DIR);
}

bool toolIsBuilt(const QString& name) {
    return QFileInfo(QStringLiteral(VELMORA_BUILT_TOOL_DIR "/") + name).isExecutable();
}

}  // namespace velmora::testkit
