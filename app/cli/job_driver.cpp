// SPDX-License-Identifier: GPL-3.0-or-later
#include "job_driver.h"

#include <QEventLoop>
#include <QUrl>

#include <csignal>

#include "child_processes.h"

namespace velmora::cli {

JobDriver::JobDriver(JobModel& model, Console& console, InterruptWatch& interrupts)
    : model_(model), console_(console), interrupts_(interrupts) {}

ScanOutcome JobDriver::scan(const QString& source, const QString& scanning) {
    model_.setSourceURL(QUrl::fromLocalFile(source));
    model_.resetScan();
    console_.showLive(scanning);

    QEventLoop loop;
    QObject::connect(&model_, &JobModel::isBusyChanged, &loop, [&] {
        if (!model_.isBusy()) {
            loop.quit();
        }
    });
    QObject::connect(&interrupts_, &InterruptWatch::interrupted, &loop, [&](int, bool repeated) {
        if (repeated) {
            loop.quit();
        } else {
            signalChildProcesses(SIGTERM);
        }
    });
    model_.scan();
    if (model_.isBusy()) {
        loop.exec();
    }
    console_.clearLive();

    interrupts_.collectPending();
    if (interrupts_.firstSignal() != 0) {
        return ScanOutcome::Interrupted;
    }
    if (model_.showAlert()) {
        return ScanOutcome::Failed;
    }
    if (model_.sourceUnreadable()) {
        return ScanOutcome::SourceUnreadable;
    }
    return model_.total() > 0 ? ScanOutcome::Found : ScanOutcome::NothingFound;
}

RunEnd JobDriver::run(const std::function<QString()>& liveLine) {
    RunEnd end;
    QEventLoop loop;
    velmora::BackendRunner& runner = model_.runner();
    // Connected after the model's own handlers, so these see its new figures.
    QObject::connect(&runner, &velmora::BackendRunner::tick, &loop,
                     [&] { console_.showLive(liveLine()); });
    QObject::connect(&runner, &velmora::BackendRunner::finished, &loop, [&](int exitStatus) {
        end.exitStatus = exitStatus;
        loop.quit();
    });
    QObject::connect(&interrupts_, &InterruptWatch::interrupted, &loop,
                     [] { signalChildProcesses(SIGTERM); });

    model_.setShowAlert(false);
    model_.start();
    if (!model_.isBusy()) {
        end.launchError = model_.alertText();
        return end;
    }
    console_.showLive(liveLine());
    loop.exec();
    console_.clearLive();

    interrupts_.collectPending();
    const bool complete = end.exitStatus == 0 && model_.processed() >= model_.total();
    if (interrupts_.firstSignal() != 0 && !complete) {
        end.outcome = RunOutcome::Interrupted;
    } else {
        end.outcome = end.exitStatus == 0 ? RunOutcome::Finished : RunOutcome::Stopped;
    }
    return end;
}

}  // namespace velmora::cli
