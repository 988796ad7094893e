// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Running the built velmora program in velmora_cli_test: through pipes, or
// on a pseudo-terminal as a user at a terminal would.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

namespace velmora::clitest {

/// How a run of the program ended and what it wrote.
struct ProgramRun {
    int exitCode = -1;  ///< the exit status; -1 when it did not end normally
    QByteArray out;     ///< standard output (on a terminal: everything written to it)
    QByteArray err;     ///< standard error (empty on a terminal)
};

/// Called with the output so far while a program runs; may signal or type
/// to it through `pid` and `terminal` (-1 for piped runs).
using RunWatcher = std::function<void(const QByteArray& outputSoFar, qint64 pid, int terminal)>;

/// The environment of the test with no display at all: DISPLAY,
/// WAYLAND_DISPLAY and QT_QPA_PLATFORM removed.
QProcessEnvironment environmentWithoutDisplay();

/// Runs `program` with `arguments` and `environment`, standard input
/// closed, standard output and error through pipes.
ProgramRun runPiped(const QString& program, const QStringList& arguments,
                    const QProcessEnvironment& environment, const RunWatcher& watcher = {});

/// Runs `program` on a new pseudo-terminal `columns` wide: its standard
/// input, output and error are the terminal, and Ctrl-C typed there
/// ("\x03") reaches it as at a real terminal.
ProgramRun runOnTerminal(const QString& program, const QStringList& arguments,
                         const QProcessEnvironment& environment, int columns,
                         const RunWatcher& watcher = {});

}  // namespace velmora::clitest
