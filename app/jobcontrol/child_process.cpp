// SPDX-License-Identifier: GPL-3.0-or-later
#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace velmora {

namespace {

/// The exit status of an ended child, or the number of the signal that ended it.
int exitStatusOf(const siginfo_t& info) {
    return info.si_status;
}

/// Sets up the child's output, a process group of its own and a clean signal
/// state, so that signals the application ignores or blocks are not
/// inherited by the backend.
class SpawnSettings {
  public:
    SpawnSettings(Output out, Output err) {
        posix_spawn_file_actions_init(&actions_);
        if (out == Output::Discard) {
            posix_spawn_file_actions_addopen(&actions_, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        }
        if (err == Output::Discard) {
            posix_spawn_file_actions_addopen(&actions_, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        }
        posix_spawnattr_init(&attributes_);
        sigset_t none;
        sigemptyset(&none);
        sigset_t all;
        sigfillset(&all);
        posix_spawnattr_setsigmask(&attributes_, &none);
        posix_spawnattr_setsigdefault(&attributes_, &all);
        // Group 0: a new group, led by the child.
        posix_spawnattr_setpgroup(&attributes_, 0);
        posix_spawnattr_setflags(
            &attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    }
    ~SpawnSettings() {
        posix_spawnattr_destroy(&attributes_);
        posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    const posix_spawnattr_t* attributes() const { return &attributes_; }

  private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

// Called through syscall(): glibc 2.36 declares its wrappers without C linkage.
int openPidfd(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

/// Blocks until the child behind `pidfd` has ended and reaps it.
siginfo_t reap(int pidfd) {
    siginfo_t info{};
    while (waitid(static_cast<idtype_t>(P_PIDFD), pidfd, &info, WEXITED) < 0 && errno == EINTR) {
    }
    return info;
}

}  // namespace

SpawnResult ChildProcess::spawn(const std::string& program,
                                const std::vector<std::string>& arguments, Output out, Output err) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    const SpawnSettings settings(out, err);
    pid_t pid = -1;
    const int refused = posix_spawn(&pid, program.c_str(), settings.actions(),
                                    settings.attributes(), argv.data(), environ);
    if (refused != 0) {
        return {nullptr, refused};
    }
    // The child is ours and not yet reaped, so its id cannot have been reused.
    const int pidfd = openPidfd(pid);
    if (pidfd < 0) {
        // Without a pidfd the child could not be followed safely: end it at
        // once and report the launch as refused.
        const int error = errno;
        kill(pid, SIGKILL);
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        return {nullptr, error};
    }
    return {std::unique_ptr<ChildProcess>(new ChildProcess(pid, pidfd)), 0};
}

ChildProcess::~ChildProcess() {
    if (exitStatus_ || tryReap()) {
        close(pidfd_);
        return;
    }
    // Still running: leave it alone and reap it whenever it ends.
    const int pidfd = pidfd_;
    try {
        std::thread([pidfd, keepsake = keepsake_] {
            reap(pidfd);
            close(pidfd);
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the child stays a zombie until the application
        // ends, and its keepsake is kept until then.
        close(pidfd);
        (void)new std::shared_ptr<const void>(keepsake_);
    }
}

bool ChildProcess::isRunning() const {
    if (exitStatus_) {
        return false;
    }
    pollfd watch{pidfd_, POLLIN, 0};
    return poll(&watch, 1, 0) == 0;
}

int ChildProcess::wait() {
    if (!exitStatus_) {
        exitStatus_ = exitStatusOf(reap(pidfd_));
    }
    return *exitStatus_;
}

std::optional<int> ChildProcess::tryReap() {
    if (!exitStatus_) {
        siginfo_t info{};
        if (waitid(static_cast<idtype_t>(P_PIDFD), pidfd_, &info, WEXITED | WNOHANG) == 0 &&
            info.si_pid != 0) {
            exitStatus_ = exitStatusOf(info);
        }
    }
    return exitStatus_;
}

bool ChildProcess::signalGroup(int signal) const {
    // Only this object reaps the child, and it has not: the group id is
    // still the child's own.
    if (exitStatus_)
        return false;
    return kill(-pid_, signal) == 0;
}

}  // namespace velmora
