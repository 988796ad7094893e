// SPDX-License-Identifier: GPL-3.0-or-later
#include "job_command.h"

#include <sys/statvfs.h>

#include <QFile>

#include "backend_files.h"
#include "exit_status.h"
#include "failure_reason.h"
#include "interrupt_watch.h"
#include "job_driver.h"
#include "job_folder.h"
#include "job_protocol.h"
#include "json_records.h"
#include "source_folder.h"
#include "tool_entry.h"

namespace velmora::cli {

namespace {

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
    console.errorText(limitedList(folders, kListedPhotos).join(u'\n') + u'\n');
}

/// Tells, after the scan, of the photos it left out because their names
/// cannot be read, and lists them as the scan escaped them.
void warnOfUnreadableNames(const JobCommand& command, qint64 count, const QString& jobFolder,
                           Console& console) {
    if (count <= 0) {
        return;
    }
    console.error(
        counted(count, QStringLiteral("photo has a name"), QStringLiteral("photos have names")) +
        QStringLiteral(" that cannot be read and will not be %1:").arg(command.doneVerb));
    const QStringList paths = parsePathList(jobFileText(jobFolder, job::kUnreadableNames));
    if (!paths.isEmpty()) {
        console.errorText(limitedList(paths, kListedPhotos).join(u'\n') + u'\n');
    }
}

/// The end message's line for the same photos: they are still where they
/// were, and a user about to format the card must know.
void remindOfUnreadableNames(const JobCommand& command, qint64 count, Console& console) {
    if (count > 0) {
        console.print(
            counted(count, QStringLiteral("photo has a name that cannot be read and was not %1."),
                    QStringLiteral("photos have names that cannot be read and were not "
                                   "%1."))
                .arg(command.doneVerb));
    }
}

/// Lists the failed photos on standard error; says so apart when the disk
/// filled, since every photo after that failed for the same reason.
void listFailures(const QString& jobFolder, const QString& source, Console& console) {
    QStringList lines;
    qint64 diskFull = 0;
    for (const FailedPhoto& photo : parseFailures(jobFileText(jobFolder, job::kFailures))) {
        lines << (photo.reason.isEmpty() ? photo.path
                                         : photo.path + QStringLiteral(": ") + photo.reason);
        if (photo.code == QLatin1String(failureCodeName(FailureCode::DiskFull))) {
            ++diskFull;
        }
    }
    if (lines.isEmpty()) {
        return;
    }
    console.note(QStringLiteral("Failed photos:\n") +
                 limitedList(lines, kListedPhotos).join(u'\n') + u'\n');
    if (diskFull > 0) {
        console.error(QStringLiteral("the disk of '%1' is full: ").arg(source) +
                      counted(diskFull, QStringLiteral("photo"), QStringLiteral("photos")) +
                      QStringLiteral(" failed for want of space and stayed where they were."));
    }
}

/// True when `folder` lies on a file system mounted read-only.
bool isOnReadOnlyFileSystem(const QString& folder) {
    struct statvfs info {};
    return statvfs(QFile::encodeName(folder).constData(), &info) == 0 &&
           (info.f_flag & ST_RDONLY) != 0;
}

void sayReadOnly(const QString& source, Console& console) {
    console.error(
        QStringLiteral("'%1' is on a read-only file system: nothing was changed.").arg(source));
}

/// The outcome's name in a JSON summary.
QString outcomeName(const RunEnd& end) {
    switch (end.outcome) {
        case RunOutcome::Finished:
            return QStringLiteral("finished");
        case RunOutcome::Interrupted:
            return QStringLiteral("interrupted");
        case RunOutcome::Stopped:
            break;
    }
    return QStringLiteral("stopped");
}

/// The last JSON record of a job that ended before or without a run.
void recordEndWithoutRun(const JobCommand& command, const QString& outcome, const JobModel& model,
                         qint64 unreadableNames, Console& console) {
    console.record(summaryRecord({{QStringLiteral("command"), command.name},
                                  {QStringLiteral("outcome"), outcome},
                                  {QStringLiteral("photos"), model.total()},
                                  {QStringLiteral("otherFiles"), model.ignored()},
                                  {QStringLiteral("unreadableNames"), unreadableNames}}));
}

/// The outcome in the summary line: "finished", "stopped with exit status 4".
QString outcomeText(const RunEnd& end) {
    if (end.outcome == RunOutcome::Stopped) {
        return QStringLiteral("stopped with exit status %1").arg(end.exitStatus);
    }
    return outcomeName(end);
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

/// What a worker's own exit status says, beyond "stopped".
void explainWorkerStatus(int exitStatus, const QString& jobFolder, Console& console) {
    if (exitStatus == static_cast<int>(ToolExit::JobFilesNotWritten)) {
        console.error(QStringLiteral("the disk of the job folder '%1' is full or failing: the "
                                     "counts above may be short. Every photo is where the run "
                                     "left it, whole.")
                          .arg(jobFolder));
    }
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

QString counted(qint64 count, const QString& singular, const QString& plural) {
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? singular : plural);
}

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
            if (options.json) {
                recordEndWithoutRun(command, QStringLiteral("interrupted"), model, 0, console);
            }
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
    const qint64 unreadableNames =
        command.unreadableNames(jobFileText(model.jobFolder(), job::kSummary));
    warnOfUnreadableNames(command, unreadableNames, model.jobFolder(), console);
    if (scan == ScanOutcome::NothingFound) {
        console.print(QStringLiteral("%1: no %2 in %3 (other files: %4); nothing to do.")
                          .arg(command.name, command.photosCalled, *source,
                               QString::number(model.ignored())));
        if (options.json) {
            recordEndWithoutRun(command, QStringLiteral("nothing-to-do"), model, unreadableNames,
                                console);
        }
        return kAllDone;
    }
    if (options.dryRun) {
        console.print(QStringLiteral("%1 (dry run): %2").arg(command.name, *source));
        for (const QString& line : command.dryRunReport()) {
            console.print(QStringLiteral("  ") + line);
        }
        console.print(QStringLiteral("Dry run: nothing was changed."));
        if (options.json) {
            recordEndWithoutRun(command, QStringLiteral("dry-run"), model, unreadableNames,
                                console);
        }
        return kAllDone;
    }

    // Found before the worker starts, so that nothing is tried photo by photo.
    if (isOnReadOnlyFileSystem(*source)) {
        sayReadOnly(*source, console);
        return kCannotRun;
    }

    const RunEnd end = driver.run([&] { return liveLineOf(command, model); });
    if (!end.launchError.isNull()) {
        console.error(QStringLiteral("cannot start the %1: %2").arg(command.name, end.launchError));
        return kCannotRun;
    }
    if (end.outcome == RunOutcome::Stopped &&
        end.exitStatus == static_cast<int>(ToolExit::SourceReadOnly)) {
        sayReadOnly(*source, console);
        return kCannotRun;
    }
    const QString statusLine = jobFileText(model.jobFolder(), job::kStatus);
    console.print(summaryOf(command, model, end, statusLine));
    if (command.doneDetails) {
        for (const QString& line : command.doneDetails(statusLine)) {
            console.print(line);
        }
    }
    if (end.outcome == RunOutcome::Interrupted) {
        console.print(
            QStringLiteral("The photos done stay done; the others were left as they were."));
    }
    remindOfUnreadableNames(command, unreadableNames, console);
    listFailures(model.jobFolder(), *source, console);
    if (command.doneLists) {
        console.note(command.doneLists(model.jobFolder()));
    }
    if (options.json) {
        for (const QString& record : photoRecords(model.jobFolder(), command.placedKey)) {
            console.record(record);
        }
        QJsonObject fields{{QStringLiteral("command"), command.name},
                           {QStringLiteral("outcome"), outcomeName(end)},
                           {QStringLiteral("workerExitStatus"), end.exitStatus},
                           {QStringLiteral("done"), model.processed() - model.failed()},
                           {QStringLiteral("failed"), model.failed()},
                           {QStringLiteral("notDone"), model.total() - model.processed()},
                           {QStringLiteral("unreadableNames"), unreadableNames}};
        const QJsonObject amounts = command.amountFields(statusLine);
        for (auto field = amounts.begin(); field != amounts.end(); ++field) {
            fields.insert(field.key(), field.value());
        }
        console.record(summaryRecord(fields));
    }
    if (end.outcome == RunOutcome::Stopped) {
        explainWorkerStatus(end.exitStatus, model.jobFolder(), console);
    }
    return exitStatusOf(end, model, interrupts.firstSignal());
}

}  // namespace velmora::cli
