// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace velmora::cli {

/// What a command line asks for.
enum class Command { Window, Help, Version, Sort, Compress, UsageError };

/// The choices of a sort or a compression. A choice left out keeps the
/// window's default, which the job model holds.
struct JobOptions {
    QString source;                  ///< SOURCE as given
    std::optional<QString> mode;     ///< sort: "MOVE" or "COPY"
    std::optional<int> workers;      ///< 1 to 8
    std::optional<int> oddFolders;   ///< sort: 1 to 8
    std::optional<int> evenFolders;  ///< sort: 1 to 8
    std::optional<int> quality;      ///< compress: 1 to 100
    bool dryRun = false;             ///< scan only, change nothing
    bool quiet = false;              ///< no progress, summary or lists: errors only
    bool json = false;               ///< JSON records on standard output instead of the summary
};

/// A parsed command line.
struct CommandLine {
    Command command = Command::Window;
    JobOptions job;  ///< for Sort and Compress
    QString error;   ///< for UsageError: what is wrong, one sentence
};

/// Parses the program's arguments, the program name first. Needs no
/// application object.
CommandLine parseCommandLine(const QStringList& arguments);

/// The usage, printed by --help.
QString usageText();

/// The lines printed after a usage error: `error` and where to look.
QString usageErrorText(const QString& error);

/// "velmora" and the version, printed by --version.
QString versionText();

}  // namespace velmora::cli
