// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_backend.h"

#include <QFile>
#include <QSaveFile>

#include "test_kit.h"

namespace velmora::testkit {

FakeBackend::FakeBackend() {
    const QByteArray script = readFile(QStringLiteral(VELMORA_FAKE_BACKEND_SCRIPT));
    for (const char* name : {"sorter_backend.sh", "compress_backend.sh"}) {
        writeFile(control_.filePath(QLatin1String(name)), script);
    }
}

bool FakeBackend::setSummary(const QString& line) {
    return write(QStringLiteral("summary.txt"), line + '\n');
}

bool FakeBackend::setUnreadable(const QStringList& folders) {
    return write(QStringLiteral("unreadable.txt"), folders.join('\n') + '\n');
}

bool FakeBackend::setUnreadableNames(const QStringList& paths) {
    return write(QStringLiteral("unreadable_names.txt"), paths.join('\n') + '\n');
}

bool FakeBackend::setUncompressed(const QStringList& lines) {
    return write(QStringLiteral("uncompressed.txt"), lines.join('\n') + '\n');
}

bool FakeBackend::setFailures(const QStringList& lines) {
    return write(QStringLiteral("failures.txt"), lines.join('\n') + '\n');
}

bool FakeBackend::setScanExit(int status) {
    return write(QStringLiteral("scan.exit"), QString::number(status));
}

bool FakeBackend::holdScans(bool hold) {
    const QString flag = control_.filePath(QStringLiteral("hold"));
    return hold ? write(QStringLiteral("hold"), QString()) : QFile::remove(flag);
}

bool FakeBackend::setStatus(const QString& line) {
    return write(QStringLiteral("status.txt"), line + '\n');
}

bool FakeBackend::finish(int exitStatus) {
    return write(QStringLiteral("exit"), QString::number(exitStatus));
}

bool FakeBackend::endGracefullyOnTerm() {
    return write(QStringLiteral("graceful"), QString());
}

bool FakeBackend::killRun() {
    return write(QStringLiteral("exit"), QStringLiteral("kill"));
}

QStringList FakeBackend::arguments(const QString& verb) const {
    const QByteArray lines = readFile(control_.filePath(verb + QStringLiteral(".args")));
    return QString::fromUtf8(lines).split('\n', Qt::SkipEmptyParts);
}

qint64 FakeBackend::processId(const QString& verb) const {
    return readFile(control_.filePath(verb + QStringLiteral(".pid"))).trimmed().toLongLong();
}

bool FakeBackend::write(const QString& name, const QString& text) {
    QSaveFile file(control_.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit();
}

}  // namespace velmora::testkit
