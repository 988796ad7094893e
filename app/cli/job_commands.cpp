// SPDX-License-Identifier: GPL-3.0-or-later
#include "job_commands.h"

#include <QDir>

#include "backend_files.h"
#include "compress_model.h"
#include "formatting.h"
#include "job_command.h"
#include "job_folder.h"
#include "job_protocol.h"
#include "sorter_model.h"

namespace velmora::cli {

namespace {

QString secondsText(double seconds) {
    return QString::number(seconds, 'f', 1) + QStringLiteral(" s");
}

/// The folders a run makes inside `source`, one line each.
QStringList folderLines(const QString& source, const QStringList& names) {
    QStringList lines;
    for (const QString& name : names) {
        lines << QStringLiteral("  ") + QDir(source).filePath(name);
    }
    return lines;
}

/// The photos done that were not re-encoded: kept as they were, since
/// re-encoding made them no smaller, or copied unchanged, since the
/// encoder could not read them.
QStringList compressDetails(const CompressStatusLine& status) {
    QStringList lines;
    if (status.kept > 0) {
        lines << counted(status.kept,
                         QStringLiteral("photo was kept as it was: re-encoded, it came out no "
                                        "smaller."),
                         QStringLiteral("photos were kept as they were: re-encoded, they came out "
                                        "no smaller."));
    }
    if (status.uncompressed > 0) {
        lines << counted(status.uncompressed,
                         QStringLiteral("file was copied without compression: it is not a "
                                        "readable image."),
                         QStringLiteral("files were copied without compression: they are not "
                                        "readable images."));
    }
    return lines;
}

/// The files copied without compression, by name.
QString uncompressedList(const QString& jobFolder) {
    QStringList paths;
    for (const FailedPhoto& photo : parseFailures(jobFileText(jobFolder, job::kUncompressed))) {
        paths << photo.path;
    }
    if (paths.isEmpty()) {
        return {};
    }
    return QStringLiteral("Copied without compression:\n") +
           limitedList(paths, kListedPhotos).join(u'\n') + u'\n';
}

}  // namespace

int runSort(const JobOptions& options, Console& console) {
    SorterModel model;
    if (options.mode) {
        model.setMode(*options.mode);
    }
    if (options.workers) {
        model.setWorkers(*options.workers);
    }
    if (options.oddFolders) {
        model.setOddFolders(*options.oddFolders);
    }
    if (options.evenFolders) {
        model.setEvenFolders(*options.evenFolders);
    }

    JobCommand command;
    command.name = QStringLiteral("sort");
    command.photosCalled = QStringLiteral("numbered photos");
    command.dryRunReport = [&model] {
        QStringList folders;
        for (int i = 0; i < model.oddFolders(); ++i) {
            folders << QString::fromStdString(job::folderName(1, i, model.oddFolders()));
        }
        for (int i = 0; i < model.evenFolders(); ++i) {
            folders << QString::fromStdString(job::folderName(0, i, model.evenFolders()));
        }
        const bool copying = model.mode() == QLatin1String("COPY");
        return QStringList{QStringLiteral("numbered photos: %1 (%2 odd, %3 even)")
                               .arg(model.total())
                               .arg(model.odd())
                               .arg(model.even()),
                           QStringLiteral("other files, left aside: %1").arg(model.ignored()),
                           QStringLiteral("a run would %1 them with %2 workers into:")
                               .arg(copying ? QStringLiteral("copy") : QStringLiteral("move"))
                               .arg(model.workers())} +
               folderLines(model.sourcePath(), folders);
    };
    command.doneVerb = QStringLiteral("sorted");
    command.amountFields = [](const QString& statusLine) {
        const SortStatusLine status = parseSortStatus(statusLine).value_or(SortStatusLine{});
        return QJsonObject{{QStringLiteral("bytes"), status.bytes},
                           {QStringLiteral("seconds"), status.seconds}};
    };
    command.placedKey = QStringLiteral("destination");
    command.unreadableNames = [](const QString& summaryLine) {
        return parseSortSummary(summaryLine).value_or(SortSummaryLine{}).unreadableNames;
    };
    command.amounts = [](const QString& statusLine) {
        const SortStatusLine status = parseSortStatus(statusLine).value_or(SortStatusLine{});
        return formatByteSize(status.bytes) + QStringLiteral(" in ") + secondsText(status.seconds);
    };
    return runJobCommand(model, command, options, console);
}

int runCompress(const JobOptions& options, Console& console) {
    CompressModel model;
    if (options.quality) {
        model.setQuality(*options.quality);
    }
    if (options.workers) {
        model.setWorkers(*options.workers);
    }

    JobCommand command;
    command.name = QStringLiteral("compress");
    command.photosCalled = QStringLiteral("photos");
    command.dryRunReport = [&model] {
        return QStringList{QStringLiteral("photos: %1 (%2)")
                               .arg(QString::number(model.total()), model.beforeText()),
                           QStringLiteral("other files, left aside: %1").arg(model.ignored()),
                           QStringLiteral("a run would compress them at quality %1 with %2 "
                                          "workers into:")
                               .arg(model.quality())
                               .arg(model.workers())} +
               folderLines(model.sourcePath(), {model.outputFolderName()});
    };
    command.amounts = [](const QString& statusLine) {
        const CompressStatusLine status =
            parseCompressStatus(statusLine).value_or(CompressStatusLine{});
        return formatByteSize(status.inputBytes) + QStringLiteral(" read, ") +
               formatByteSize(status.outputBytes) + QStringLiteral(" written in ") +
               secondsText(status.seconds);
    };
    command.doneVerb = QStringLiteral("compressed");
    command.unreadableNames = [](const QString& summaryLine) {
        return parseCompressSummary(summaryLine).value_or(CompressSummaryLine{}).unreadableNames;
    };
    command.doneDetails = [](const QString& statusLine) {
        return compressDetails(parseCompressStatus(statusLine).value_or(CompressStatusLine{}));
    };
    command.doneLists = uncompressedList;
    command.amountFields = [](const QString& statusLine) {
        const CompressStatusLine status =
            parseCompressStatus(statusLine).value_or(CompressStatusLine{});
        return QJsonObject{{QStringLiteral("bytesRead"), status.inputBytes},
                           {QStringLiteral("bytesWritten"), status.outputBytes},
                           {QStringLiteral("seconds"), status.seconds},
                           {QStringLiteral("kept"), status.kept},
                           {QStringLiteral("uncompressed"), status.uncompressed}};
    };
    command.placedKey = QStringLiteral("output");
    return runJobCommand(model, command, options, console);
}

}  // namespace velmora::cli
