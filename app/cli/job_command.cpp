#include "job_command.h"

#include "backend_files.h"
#include "exit_status.h"
#include "interrupt_watch.h"
#include "job_driver.h"
#include "job_folder.h"
#include "job_protocol.h"
#include "source_folder.h"

namespace velmora::cli {

namespace {

/// How many failed photos or unreadable folders are listed by name.
constexpr int kListed = 20;

/// "sort: 40/100 (40%), 12 file/s, ETA 00:15", and the failures so far.
QString liveLineOf(const JobCommand& command, const JobModel& model) {
    QString line = QStringLiteral("%1: %2/%3 (%4%), %5, ETA %6")
                       .arg(command.name)
                       .arg(model.processed())
                       .arg(model.total())
                       .arg(model.percent())
                       .arg(model.speedText(), model.eta());
    if (model.failed() > 0) {
        line += QStringLiteral(", %1 failed").arg(model.failed());
    }
    return line;
}

void warnOfUnreadableFolders(const QString& jobFolder, Console& console) {
    const QStringList folders = parsePathList(jobFileText(jobFolder, job::kUnreadable));
    if (folders.isEmpty()) {
        return;
    }
    console.error(
        QStringLiteral("%1 folders could not be read and were left out:").arg(folders.size()));
    console.errorText(limitedList(folders, kListed).join(u'\n') + u'\n');
}

void listFailures(const QString& jobFolder, Console& console) {
    QStringList lines;
    for (const FailedPhoto& photo : parseFailures(jobFileText(jobFolder, job::kFailures))) {
        lines << (photo.reason.isEmpty() ? photo.path
                                         : photo.path + QStringLiteral(": ") + photo.reason);
    }
    if (lines.isEmpty()) {
        return;
    }
    console.print(QStringLiteral("Failed photos:"));
    for (const QString& line : limitedList(lines, kListed)) {
        console.print(line);
    }
}

QString outcomeText(const RunEnd& end) {
    switch (end.outcome) {
        case RunOutcome::Finished:
            return QStringLiteral("finished");
        case RunOutcome::Interrupted:
            return QStringLiteral("interrupted");
        case RunOutcome::Stopped:
            break;
    }
    return QStringLiteral("stopped with exit status %1").arg(end.exitStatus);
}

/// "sort finished: 97 done, 3 failed, 512.0 MB in 12.3 s".
QString summaryOf(const JobCommand& command, const JobModel& model, const RunEnd& end,
                  const QString& statusLine) {
    const qint64 notDone = model.total() - model.processed();
    QString summary = QStringLiteral("%1 %2: %3 done, %4 failed")
                          .arg(command.name, outcomeText(end))
                          .arg(model.processed() - model.failed())
                          .arg(model.failed());
    if (notDone > 0) {
        summary += QStringLiteral(", %1 not done").arg(notDone);
    }
    return summary + QStringLiteral(", ") + command.amounts(statusLine);
}

int exitStatusOf(const RunEnd& end, const JobModel& model, int signal) {
    switch (end.outcome) {
        case RunOutcome::Interrupted:
            return interruptedStatus(signal);
        case RunOutcome::Stopped:
            return kCannotRun;
        case RunOutcome::Finished:
            break;
    }
    return model.failed() > 0 ? kSomeFailed : kAllDone;
}

}  // namespace

int runJobCommand(JobModel& model, const JobCommand& command, const JobOptions& options,
                  Console& console) {
    const auto source = usableSourceFolder(options.source, console);
    if (!source) {
        return kCannotRun;
    }
    InterruptWatch interrupts;
    JobDriver driver(model, console, interrupts);

    const ScanOutcome scan =
        driver.scan(*source, QStringLiteral("%1: scanning %2 ...").arg(command.name, *source));
    switch (scan) {
        case ScanOutcome::Interrupted:
            console.print(QStringLiteral("%1 interrupted during the scan: nothing was changed.")
                              .arg(command.name));
            return interruptedStatus(interrupts.firstSignal());
        case ScanOutcome::Failed:
            console.error(QStringLiteral("the scan of '%1' failed: a tool is missing, or the "
                                         "temporary folder cannot be written.")
                              .arg(*source));
            return kCannotRun;
        case ScanOutcome::SourceUnreadable:
            console.error(QStringLiteral("the scan could not read '%1'.").arg(*source));
            return kCannotRun;
        case ScanOutcome::NothingFound:
        case ScanOutcome::Found:
            break;
    }
    warnOfUnreadableFolders(model.jobFolder(), console);
    if (scan == ScanOutcome::NothingFound) {
        console.print(QStringLiteral("%1: no %2 in %3 (other files: %4); nothing to do.")
                          .arg(command.name, command.photosCalled, *source,
                               QString::number(model.ignored())));
        return kAllDone;
    }
    if (options.dryRun) {
        console.print(QStringLiteral("%1 (dry run): %2").arg(command.name, *source));
        for (const QString& line : command.dryRunReport()) {
            console.print(QStringLiteral("  ") + line);
        }
        console.print(QStringLiteral("Dry run: nothing was changed."));
        return kAllDone;
    }

    const RunEnd end = driver.run([&] { return liveLineOf(command, model); });
    if (!end.launchError.isNull()) {
        console.error(QStringLiteral("cannot start the %1: %2").arg(command.name, end.launchError));
        return kCannotRun;
    }
    console.print(summaryOf(command, model, end, jobFileText(model.jobFolder(), job::kStatus)));
    if (end.outcome == RunOutcome::Interrupted) {
        console.print(
            QStringLiteral("The photos done stay done; the others were left as they were."));
    }
    listFailures(model.jobFolder(), console);
    return exitStatusOf(end, model, interrupts.firstSignal());
}

}  // namespace velmora::cli
