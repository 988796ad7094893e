#pragma once

#include <QString>
#include <QTemporaryDir>

/// Drives the stand-in backend scripts of the window tests: what the next
/// scan finds, what the running backend reports, and when it ends.
class FakeBackend {
  public:
    /// Makes a control folder and names it to the scripts through the
    /// environment, which the backends inherit.
    FakeBackend();
    ~FakeBackend();

    /// Folder holding the stand-in "sorter_backend.sh" and "compress_backend.sh".
    static QString scriptFolder();

    /// The summary line the next scan writes.
    bool setSummary(const QString& line);
    /// The status line the running backend writes from now on.
    bool setStatus(const QString& line);
    /// Ends the running backend with `exitStatus`, after it has written the
    /// current status line once more.
    bool finish(int exitStatus);

  private:
    bool write(const QString& name, const QString& text);

    QTemporaryDir control_;
};
