// SPDX-License-Identifier: GPL-3.0-or-later
#include "image_tool.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "file_io.h"
#include "program_location.h"
#include "run_stop.h"

extern char** environ;

namespace velmora {

namespace fs = std::filesystem;

namespace {

bool isExecutable(const fs::path& program) {
    return !program.empty() && ::access(program.c_str(), X_OK) == 0;
}

// The descriptor that carries the source into the tool.
constexpr int kSourceDescriptor = 3;

std::vector<std::string> commandLine(const ImageTool& tool, int quality,
                                     const std::string& output) {
    return {tool.limiter.string(),
            std::to_string(::getpid()),
            std::to_string(tool.limits.cpuSeconds),
            std::to_string(tool.limits.addressSpaceBytes),
            tool.program.string(),
            "-s",
            "format",
            "jpeg",
            "-s",
            "formatOptions",
            std::to_string(quality),
            "/dev/fd/" + std::to_string(kSourceDescriptor),
            "--out",
            output};
}

/// Owns spawn file actions: stdout and stderr to /dev/null, `source` as
/// descriptor 3, `workFolder` as working folder, every other descriptor
/// closed, so the tool holds no file of another worker.
class QuietFileActions {
  public:
    QuietFileActions(int source, int workFolder) {
        ::posix_spawn_file_actions_init(&actions_);
        // The folder first: the descriptors below may take its number.
        ::posix_spawn_file_actions_addfchdir_np(&actions_, workFolder);
        ::posix_spawn_file_actions_adddup2(&actions_, source, kSourceDescriptor);
        ::posix_spawn_file_actions_addopen(&actions_, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        ::posix_spawn_file_actions_adddup2(&actions_, STDOUT_FILENO, STDERR_FILENO);
        ::posix_spawn_file_actions_addclosefrom_np(&actions_, kSourceDescriptor + 1);
    }
    ~QuietFileActions() { ::posix_spawn_file_actions_destroy(&actions_); }
    QuietFileActions(const QuietFileActions&) = delete;
    QuietFileActions& operator=(const QuietFileActions&) = delete;

    const posix_spawn_file_actions_t* get() const { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_;
};

/// Waits for the tool `pid` to end and reaps it into `status`. Once a signal
/// asks the run to stop, the tool is asked too (SIGTERM), so that a run
/// stopped on its own, not with its whole process group, still ends soon.
/// False, with errno set, when the tool cannot be waited for.
bool waitForTool(pid_t pid, int& status) {
    const UniqueFd ended(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
    bool asked = false;
    for (;;) {
        const pid_t reaped = ::waitpid(pid, &status, WNOHANG);
        if (reaped == pid)
            return true;
        if (reaped < 0 && errno != EINTR)
            return false;
        if (!asked && stopSignal() != 0) {
            ::kill(pid, SIGTERM);
            asked = true;
        }
        // Without a pidfd (an older kernel) this polls ten times a second.
        pollfd wait = {ended.get(), POLLIN, 0};
        ::poll(&wait, ended ? 1 : 0, 100);
    }
}

}  // namespace

std::optional<ImageTool> findImageTool() {
    const fs::path sips = "/usr/bin/sips";
    std::error_code error;
    ImageTool tool;
    tool.program = fs::exists(sips, error) ? sips : programBesideThisOne("velmora-encode");
    tool.limiter = programBesideThisOne("velmora-limit");
    if (!isExecutable(tool.program) || !isExecutable(tool.limiter))
        return std::nullopt;
    return tool;
}

ToolRun runImageTool(const ImageTool& tool, int quality, int source, int workFolder,
                     const std::string& outputName) {
    std::vector<std::string> args = commandLine(tool, quality, outputName);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    const QuietFileActions actions(source, workFolder);
    pid_t pid = 0;
    const int refused =
        ::posix_spawn(&pid, tool.limiter.c_str(), actions.get(), nullptr, argv.data(), environ);
    if (refused != 0)
        return {ToolEnd::NotStarted, std::strerror(refused)};
    int status = 0;
    if (!waitForTool(pid, status))
        return {ToolEnd::Failed, std::strerror(errno)};
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return {ToolEnd::Succeeded, {}, 0};
    if (WIFSIGNALED(status)) {
        return {ToolEnd::Failed, "ended by signal " + std::to_string(WTERMSIG(status)), -1,
                WTERMSIG(status)};
    }
    return {ToolEnd::Failed, "exit status " + std::to_string(WEXITSTATUS(status)),
            WEXITSTATUS(status)};
}

}  // namespace velmora
