// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora::cli {

/// The exit status of a subcommand.
enum ExitStatus : int {
    kAllDone = 0,     ///< every photo done, or nothing to do, or a dry run
    kSomeFailed = 1,  ///< the job ran, and some photos failed
    kUsageError = 2,  ///< the command line cannot be used; the usage went to standard error
    kCannotRun = 3,   ///< SOURCE unusable, a tool missing, or the worker stopped with an error
};

/// The exit status after `signal` ended a job: 128 plus its number, as a
/// shell reports a command that the signal ended.
constexpr int interruptedStatus(int signal) {
    return 128 + signal;
}

}  // namespace velmora::cli
