// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>

#include "command_line.h"
#include "console.h"
#include "job_model.h"

namespace velmora::cli {

/// How many failed, unreadable or uncompressed photos are listed by name.
inline constexpr int kListedPhotos = 20;

/// "1 photo has a name", "3 photos have names": `count` and the words that
/// follow it, in the singular or the plural.
QString counted(qint64 count, const QString& singular, const QString& plural);

/// What sets one subcommand apart from the other: its name and the texts
/// only it can make from its model and its status line.
struct JobCommand {
    QString name;          ///< "sort" or "compress"
    QString photosCalled;  ///< what its photos are called: "numbered photos", "photos"
    /// The lines a dry run prints below its first line.
    std::function<QStringList()> dryRunReport;
    /// The amounts of data in a run's summary, from the worker's status
    /// line (empty text when it could not be read).
    std::function<QString(const QString& statusLine)> amounts;
    /// What the job does to a photo, in the past: "sorted", "compressed".
    QString doneVerb;
    /// How many photos the scan left out because their names cannot be
    /// read, from its summary line.
    std::function<qint64(const QString& summaryLine)> unreadableNames;
    /// The lines below a run's summary that tell apart some of the photos
    /// done, from the worker's status line; none by default.
    std::function<QStringList(const QString& statusLine)> doneDetails;
    /// The photos of those lines that are listed by name (for standard
    /// error), from the job folder; none by default.
    std::function<QString(const QString& jobFolder)> doneLists;
    /// The amounts of data of the JSON summary, from the status line.
    std::function<QJsonObject(const QString& statusLine)> amountFields;
    /// What a photo's JSON record calls where it went: "destination", "output".
    QString placedKey;
};

/// Runs a subcommand through `model`, whose choices are already set: checks
/// SOURCE, scans, then prints the dry run's report, or runs the job with a
/// live line on a terminal and ends with one summary line and the photos
/// that failed. Returns the exit status.
int runJobCommand(JobModel& model, const JobCommand& command, const JobOptions& options,
                  Console& console);

}  // namespace velmora::cli
