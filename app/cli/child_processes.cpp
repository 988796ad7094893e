// SPDX-License-Identifier: GPL-3.0-or-later
#include "child_processes.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>

namespace velmora::cli {

namespace {

/// What /proc/PID/stat says of a process's parent and process group.
struct Lineage {
    pid_t parent = 0;
    pid_t group = 0;
};

std::optional<Lineage> lineageOf(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!std::getline(file, stat)) {
        return std::nullopt;
    }
    // The command name sits in parentheses and may hold blanks or ")" itself:
    // the fields after it start past the last ")". They are the state, the
    // parent and the process group.
    const auto close = stat.rfind(')');
    if (close == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(stat.substr(close + 1));
    char state = 0;
    Lineage lineage;
    if (!(fields >> state >> lineage.parent >> lineage.group)) {
        return std::nullopt;
    }
    return lineage;
}

/// The children of every thread of this process (each thread's children
/// are listed apart: a scan's backend is started by a pool thread).
std::set<pid_t> childProcesses() {
    std::set<pid_t> children;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        std::ifstream list(task.path() / "children");
        pid_t pid = 0;
        while (list >> pid) {
            children.insert(pid);
        }
    }
    return children;
}

/// Signals `pid` when it is still a child of this process. The pidfd keeps
/// the signal from reaching a later process that took over a reaped child's id.
bool signalChild(pid_t pid, int signal) {
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd < 0) {
        return false;
    }
    bool sent = false;
    const auto lineage = lineageOf(pid);
    if (lineage && lineage->parent == getpid()) {
        sent = lineage->group == pid
                   ? kill(-pid, signal) == 0
                   : syscall(SYS_pidfd_send_signal, pidfd, signal, nullptr, 0) == 0;
    }
    close(pidfd);
    return sent;
}

}  // namespace

int signalChildProcesses(int signal) {
    int signalled = 0;
    for (const pid_t child : childProcesses()) {
        if (signalChild(child, signal)) {
            ++signalled;
        }
    }
    return signalled;
}

}  // namespace velmora::cli
