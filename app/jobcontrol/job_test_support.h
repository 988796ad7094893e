#pragma once

// Helpers for the job-control tests: fake backend scripts, photo trees and
// a look at a process through /proc.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velmora::testing {

/// Creates or replaces `path` with `content`, making missing parent folders.
void writeFile(const QString& path, const QByteArray& content);

/// The whole content of `path`, or an empty array when it cannot be read.
QByteArray readFile(const QString& path);

/// Writes a bash script `name` into `directory` (no execute permission: it
/// is always run as an argument of /bin/bash).
void writeScript(const QString& directory, const QString& name, const QByteArray& body);

/// Writes a fake backend `name` into `directory`, steered by files in
/// `control`. Every verb first waits while control/hold exists. "scan"
/// copies control/summary.in (when present) to the job folder's summary.txt
/// and ends with the status in control/scan.code (0 when absent). Any other
/// verb writes its arguments to control/args, copies control/status.in to
/// the job folder's status.txt, kills itself with SIGKILL when control/kill
/// exists, writes control/ended and ends with the status in control/run.code.
void writeFakeBackend(const QString& directory, const QString& name, const QString& control);

/// The state letter of `pid` in /proc/PID/stat ('R', 'S', 'T', 'Z', …), or 0
/// when no such process exists.
char processState(qint64 pid);

/// The command name of `pid` (/proc/PID/comm without its line feed).
QString processName(qint64 pid);

/// Every regular file below `root`, as sorted paths relative to it.
QStringList filesBelow(const QString& root);

/// The build tree's folder of backend scripts.
QString builtScriptDirectory();

/// True when the built tool `name` is present next to the built scripts.
bool toolIsBuilt(const QString& name);

}  // namespace velmora::testing
