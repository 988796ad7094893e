#include "job_test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace velmora::testing {

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(content);
    }
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeScript(const QString& directory, const QString& name, const QByteArray& body) {
    writeFile(QDir(directory).filePath(name), "#!/bin/bash\n" + body + "\n");
}

void writeFakeBackend(const QString& directory, const QString& name, const QString& control) {
    const QByteArray c = QFile::encodeName(control);
    writeScript(directory, name,
                "c='" + c +
                    "'\n"
                    "code() { cat \"$c/$1\" 2>/dev/null || echo 0; }\n"
                    "if [[ $1 == scan ]]; then\n"
                    "    while [[ -e $c/hold ]]; do sleep 0.01; done\n"
                    "    [[ -e $c/summary.in ]] && cp \"$c/summary.in\" \"$3/summary.txt\"\n"
                    "    exit \"$(code scan.code)\"\n"
                    "fi\n"
                    "while [[ -e $c/hold ]]; do sleep 0.01; done\n"
                    "printf '%s\\n' \"$@\" > \"$c/args\"\n"
                    "[[ -e $c/status.in ]] && cp \"$c/status.in\" \"$3/status.txt\"\n"
                    "[[ -e $c/kill ]] && kill -KILL $$\n"
                    "echo ended > \"$c/ended\"\n"
                    "exit \"$(code run.code)\"");
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

QString builtScriptDirectory() {
    return QStringLiteral(VELMORA_BUILT_DATA_DIR);
}

bool toolIsBuilt(const QString& name) {
    return QFileInfo(QStringLiteral(VELMORA_BUILT_TOOL_DIR "/") + name).isExecutable();
}

}  // namespace velmora::testing
