// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_dispatch.h"

#include <QCoreApplication>
#include <QStringList>

#include <unistd.h>

#include <clocale>
#include <cstdio>

#include "command_line.h"
#include "console.h"
#include "exit_status.h"
#include "job_commands.h"
#include "run_stop.h"

namespace velmora::cli {

namespace {

void write(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

}  // namespace

std::optional<int> runWithoutWindow(int& argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const CommandLine commandLine = parseCommandLine(arguments);
    switch (commandLine.command) {
        case Command::Window:
            return std::nullopt;
        case Command::Help:
            write(stdout, usageText());
            return kAllDone;
        case Command::Version:
            write(stdout, versionText());
            return kAllDone;
        case Command::UsageError:
            write(stderr, usageErrorText(commandLine.error));
            return kUsageError;
        case Command::Sort:
        case Command::Compress:
            break;
    }

    QCoreApplication application(argc, argv);
    // Qt has taken the user's locale; the messages of the system stay English,
    // as the command line's own are.
    std::setlocale(LC_MESSAGES, "C");
    // The tools end with this process, also when it is killed: no job goes
    // on with no one to report to.
    qputenv(velmora::kLauncherVariable, QByteArray::number(getpid()));
    Console console(stdout, stderr, commandLine.job.quiet || commandLine.job.json);
    return commandLine.command == Command::Sort ? runSort(commandLine.job, console)
                                                : runCompress(commandLine.job, console);
}

}  // namespace velmora::cli
