#include "fake_backend.h"

#include <QSaveFile>

namespace {

const char* const kControlVariable = "VELMORA_FAKE_BACKEND_CONTROL";

}  // namespace

FakeBackend::FakeBackend() {
    qputenv(kControlVariable, control_.path().toLocal8Bit());
}

FakeBackend::~FakeBackend() {
    // Removing the control folder also ends a backend still running.
    qunsetenv(kControlVariable);
}

QString FakeBackend::scriptFolder() {
    return QStringLiteral(VELMORA_FAKE_BACKEND_DIR);
}

bool FakeBackend::setSummary(const QString& line) {
    return write(QStringLiteral("summary.txt"), line + '\n');
}

bool FakeBackend::setStatus(const QString& line) {
    return write(QStringLiteral("status.txt"), line + '\n');
}

bool FakeBackend::finish(int exitStatus) {
    return write(QStringLiteral("exit"), QString::number(exitStatus));
}

bool FakeBackend::write(const QString& name, const QString& text) {
    // Replaced whole, so the polling script never copies half a line.
    QSaveFile file(control_.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit();
}
