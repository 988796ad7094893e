// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

#include "console.h"
#include "interrupt_watch.h"
#include "job_model.h"

namespace velmora::cli {

/// How a scan ended.
enum class ScanOutcome { Found, NothingFound, SourceUnreadable, Failed, Interrupted };

/// How a run ended.
enum class RunOutcome { Finished, Stopped, Interrupted };

/// The end of a run.
struct RunEnd {
    RunOutcome outcome = RunOutcome::Stopped;
    int exitStatus = -1;  ///< the backend's exit status; -1 when it was not launched
    QString launchError;  ///< the system's description when it was not launched
};

/// Takes a job model through a scan and a run the way the window does
/// (sourceURL, scan(), start()), waiting on the event loop for each to end
/// and drawing the run's live line on the console. SIGINT or SIGTERM ends
/// the job: its backends get SIGTERM, and the wait goes on until the job
/// model has seen the end. A second signal during a scan stops waiting.
class JobDriver {
  public:
    JobDriver(JobModel& model, Console& console, InterruptWatch& interrupts);

    /// Chooses `source` (an absolute folder path) and scans it; `scanning`
    /// is the live line meanwhile.
    ScanOutcome scan(const QString& source, const QString& scanning);

    /// Runs the scanned job; `liveLine` gives the live line after each of
    /// the model's status reads.
    RunEnd run(const std::function<QString()>& liveLine);

  private:
    JobModel& model_;
    Console& console_;
    InterruptWatch& interrupts_;
};

}  // namespace velmora::cli
