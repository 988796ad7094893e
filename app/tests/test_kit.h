// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers for the app's tests: files and photo trees, a look at a process
// through /proc, and where the build put the backend scripts and tools.

#include <QByteArray>
#include <QString>
#include <QStringList>

class JobModel;

namespace velmora::testkit {

/// Creates or replaces `path` with `content`, making missing parent folders;
/// false when it could not be written whole.
bool writeFile(const QString& path, const QByteArray& content);

/// The whole content of `path`, or an empty array when it cannot be read.
QByteArray readFile(const QString& path);

/// Writes a bash script `name` into `directory` (no execute permission: it
/// is always run as an argument of /bin/bash).
bool writeScript(const QString& directory, const QString& name, const QByteArray& body);

/// Writes each file of `relativePaths` under `root`; a file's content is its
/// own relative path, so moved files can be recognised by their bytes. False
/// when any file cannot be written.
bool writePhotoTree(const QString& root, const QStringList& relativePaths);

/// Every regular file below `root`, as sorted paths relative to it.
QStringList filesBelow(const QString& root);

/// The state letter of `pid` in /proc/PID/stat ('R', 'S', 'T', 'Z', …), or 0
/// when no such process exists.
char processState(qint64 pid);

/// The command name of `pid` (/proc/PID/comm without its line feed).
QString processName(qint64 pid);

/// Waits until `pid` runs the program `name` (a backend script replaces its
/// shell with its tool) or has gone; true in the first case.
bool waitUntilProcessIs(qint64 pid, const QString& name);

/// Points `model` at the backend scripts in `scripts`, polling every 20 ms,
/// and chooses the folder `source`, made when missing.
void prepareModel(JobModel& model, const QString& scripts, const QString& source);

/// Sets the environment of a desktop that speaks English; called before the
/// application is made, since it reads the language once.
void pretendEnglishDesktop();

/// The build tree's folder of backend scripts.
QString builtScriptDirectory();

/// True when the built tool `name` is present next to the built scripts.
bool toolIsBuilt(const QString& name);

}  // namespace velmora::testkit
