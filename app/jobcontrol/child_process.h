// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

/// Where a child's standard output or standard error goes.
enum class Output { Inherit, Discard };

/// A child started by ChildProcess::spawn, or why the system refused it.
struct SpawnResult;

/// A started child process, the leader of a process group of its own (its
/// id is the group's), held through a pidfd. Its id, and so its group's, is
/// never reused while it is unreaped, so signals go to it and its group only
/// until it is reaped, never to later processes. Destroying a ChildProcess
/// whose child still runs neither signals nor waits for the child: a
/// background thread reaps it once it ends, so no zombie stays.
class ChildProcess {
  public:
    /// Starts `program` with `arguments` (argv[0] is `program` itself) as the
    /// leader of a new process group, inheriting the environment and working
    /// folder.
    static SpawnResult spawn(const std::string& program, const std::vector<std::string>& arguments,
                             Output out, Output err);

    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    /// A descriptor that becomes readable once the child has ended.
    int exitDescriptor() const { return pidfd_; }
    /// True until the child has ended.
    bool isRunning() const;
    /// Blocks until the child ends, reaps it and returns its exit status
    /// (the signal number when a signal ended it).
    int wait();
    /// Reaps an ended child and returns its exit status; nothing while it runs.
    std::optional<int> tryReap();
    /// Sends `signal` to the child's whole process group: the child and
    /// everything it started that stayed in its group. False when it was not
    /// delivered, and always once the child has been reaped.
    bool signalGroup(int signal) const;
    /// Keeps `keepsake` until the child has ended and been reaped, also
    /// when this object goes first; for good when that cannot be followed.
    void keepUntilReaped(std::shared_ptr<const void> keepsake) { keepsake_ = std::move(keepsake); }

  private:
    ChildProcess(pid_t pid, int pidfd) : pid_(pid), pidfd_(pidfd) {}

    pid_t pid_;
    int pidfd_;
    std::optional<int> exitStatus_;
    std::shared_ptr<const void> keepsake_;
};

struct SpawnResult {
    std::unique_ptr<ChildProcess> child;  ///< set when the child was started
    int error = 0;                        ///< errno of the refusal otherwise
};

}  // namespace velmora
