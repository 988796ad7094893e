// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_run.h"

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <cerrno>
#include <csignal>
#include <vector>

namespace velmora::clitest {

namespace {

/// A run that takes longer is stuck: it is killed and the test fails on its status.
constexpr int kLongestRunMs = 180000;
constexpr int kPollMs = 20;

int exitCodeOf(int waitStatus) {
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}

}  // namespace

QProcessEnvironment environmentWithoutDisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(name));
    }
    return environment;
}

ProgramRun runPiped(const QString& program, const QStringList& arguments,
                    const QProcessEnvironment& environment, const RunWatcher& watcher) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForStarted()) {
        return run;
    }
    QElapsedTimer clock;
    clock.start();
    while (!process.waitForFinished(kPollMs)) {
        run.out += process.readAllStandardOutput();
        if (clock.elapsed() > kLongestRunMs) {
            process.kill();
            process.waitForFinished();
            return run;
        }
        if (watcher) {
            watcher(run.out, process.processId(), -1);
        }
    }
    run.out += process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    if (process.exitStatus() == QProcess::NormalExit) {
        run.exitCode = process.exitCode();
    }
    return run;
}

ProgramRun runOnTerminal(const QString& program, const QStringList& arguments,
                         const QProcessEnvironment& environment, int columns,
                         const RunWatcher& watcher) {
    std::vector<QByteArray> argumentBytes{QFile::encodeName(program)};
    for (const QString& argument : arguments) {
        argumentBytes.push_back(QFile::encodeName(argument));
    }
    std::vector<QByteArray> environmentBytes;
    for (const QString& entry : environment.toStringList()) {
        environmentBytes.push_back(entry.toLocal8Bit());
    }
    std::vector<char*> argv;
    for (QByteArray& argument : argumentBytes) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (QByteArray& entry : environmentBytes) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    winsize size{};
    size.ws_row = 24;
    size.ws_col = static_cast<unsigned short>(columns);
    int terminal = -1;
    const pid_t pid = forkpty(&terminal, nullptr, nullptr, &size);
    if (pid < 0) {
        return {};
    }
    if (pid == 0) {
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }

    ProgramRun run;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        pollfd watch{terminal, POLLIN, 0};
        if (poll(&watch, 1, kPollMs) > 0) {
            char buffer[4096];
            const ssize_t got = read(terminal, buffer, sizeof buffer);
            if (got > 0) {
                run.out.append(buffer, got);
            } else if (got == 0 || errno != EINTR) {
                break;  // EIO: the program and all it started have closed the terminal
            }
        }
        if (clock.elapsed() > kLongestRunMs) {
            kill(pid, SIGKILL);
            break;
        }
        if (watcher) {
            watcher(run.out, pid, terminal);
        }
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    close(terminal);
    run.exitCode = exitCodeOf(status);
    return run;
}

}  // namespace velmora::clitest
