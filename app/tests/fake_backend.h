// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace velmora::testkit {

/// A stand-in for the backend scripts, for the model, window and command-line
/// tests: the test decides what the next scan finds, what the running backend
/// reports, and when and how it ends. Each FakeBackend has its own control folder,
/// removed (which also ends a run still going) when it goes away.
class FakeBackend {
  public:
    FakeBackend();

    /// Folder holding the stand-in "sorter_backend.sh" and
    /// "compress_backend.sh": a model's resource directory.
    QString scriptFolder() const { return control_.path(); }

    /// The summary line the next scans write; without one they write none.
    bool setSummary(const QString& line);
    /// The folders the next scans could not read, one a line.
    bool setUnreadable(const QStringList& folders);
    /// The photos whose names the next scans could not read, one a line.
    bool setUnreadableNames(const QStringList& paths);
    /// The exit status of the next scans (0 unless set).
    bool setScanExit(int status);
    /// While held, a scan waits before it ends.
    bool holdScans(bool hold);
    /// The status line the running backend writes from now on.
    bool setStatus(const QString& line);
    /// The failures list (path, tab, reason; one a line) runs leave as they end.
    bool setFailures(const QStringList& lines);
    /// The photos copied without compression (path, tab, code, tab,
    /// reason; one a line) runs leave as they end.
    bool setUncompressed(const QStringList& lines);
    /// Ends the running run, or the next one as it starts, with `exitStatus`
    /// after it has written the current status line once more.
    bool finish(int exitStatus);
    /// Runs that start from now on end on SIGTERM as the tools end theirs:
    /// the current status line and the failures written, exit status 143.
    /// Without it SIGTERM ends them at once (status 15).
    bool endGracefullyOnTerm();
    /// Like finish(), but the run ends by SIGKILL.
    bool killRun();
    /// The arguments of the latest call with `verb`, the verb first.
    QStringList arguments(const QString& verb) const;
    /// The process id of the latest call with `verb`, once its arguments are written.
    qint64 processId(const QString& verb) const;

  private:
    /// Replaces the control file `name` whole, so the polling script never
    /// copies half a line.
    bool write(const QString& name, const QString& text);

    QTemporaryDir control_;
};

}  // namespace velmora::testkit
