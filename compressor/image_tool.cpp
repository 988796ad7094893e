#include "image_tool.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "program_location.h"

extern char** environ;

namespace velmora {

namespace fs = std::filesystem;

namespace {

bool isExecutable(const fs::path& program) {
    return !program.empty() && ::access(program.c_str(), X_OK) == 0;
}

std::vector<std::string> commandLine(const ImageTool& tool, int quality, const fs::path& source,
                                     const fs::path& output) {
    return {tool.limiter.string(),
            std::to_string(tool.limits.cpuSeconds),
            std::to_string(tool.limits.addressSpaceBytes),
            tool.program.string(),
            "-s",
            "format",
            "jpeg",
            "-s",
            "formatOptions",
            std::to_string(quality),
            source.string(),
            "--out",
            output.string()};
}

/// Owns spawn file actions: stdout and stderr to /dev/null, every
/// descriptor from 3 up closed, so the tool holds no file of another worker.
class QuietFileActions {
  public:
    QuietFileActions() {
        ::posix_spawn_file_actions_init(&actions_);
        ::posix_spawn_file_actions_addopen(&actions_, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        ::posix_spawn_file_actions_adddup2(&actions_, STDOUT_FILENO, STDERR_FILENO);
        ::posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1);
    }
    ~QuietFileActions() { ::posix_spawn_file_actions_destroy(&actions_); }
    QuietFileActions(const QuietFileActions&) = delete;
    QuietFileActions& operator=(const QuietFileActions&) = delete;

    const posix_spawn_file_actions_t* get() const { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_;
};

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

ToolRun runImageTool(const ImageTool& tool, int quality, const fs::path& source,
                     const fs::path& output) {
    std::vector<std::string> args = commandLine(tool, quality, source, output);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    const QuietFileActions actions;
    pid_t pid = 0;
    if (::posix_spawn(&pid, tool.limiter.c_str(), actions.get(), nullptr, argv.data(), environ) !=
        0) {
        return ToolRun::NotStarted;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return ToolRun::Failed;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ToolRun::Succeeded : ToolRun::Failed;
}

}  // namespace velmora
