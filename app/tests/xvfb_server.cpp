// SPDX-License-Identifier: GPL-3.0-or-later
#include "xvfb_server.h"

#include <QStandardPaths>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

extern char** environ;

namespace velmora::testkit {

namespace {

/// Reads what the server writes to `fd` up to the end of the first line,
/// waiting at most 20 s for each character.
std::string readLine(int fd) {
    std::string line;
    char c = 0;
    while (true) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 20000) == 0) {
            return {};  // a server that never answers
        }
        const ssize_t n = read(fd, &c, 1);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0 || c == '\n') {
            return line;
        }
        line += c;
    }
}

}  // namespace

XvfbServer::XvfbServer() {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    int ready[2];
    if (program.isEmpty() || pipe(ready) != 0) {
        return;
    }
    // Xvfb picks a free display itself and writes its number to -displayfd
    // once it accepts clients.
    const std::string path = program.toStdString();
    std::vector<std::string> args = {path,        "-displayfd", std::to_string(ready[1]),
                                     "-screen",   "0",          "1024x768x24",
                                     "-nolisten", "tcp"};
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, ready[0]);
    const int spawned = posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ready[1]);
    if (spawned != 0) {
        pid_ = -1;
        close(ready[0]);
        return;
    }
    const std::string number = readLine(ready[0]);
    close(ready[0]);
    if (!number.empty()) {
        display_ = QStringLiteral(":") + QString::fromStdString(number);
    }
}

XvfbServer::~XvfbServer() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
}

}  // namespace velmora::testkit
