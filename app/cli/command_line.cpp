// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include "backend_files.h"
#include "compress_model.h"
#include "sorter_model.h"

namespace velmora::cli {

namespace {

const QString kSort = QStringLiteral("sort");
const QString kCompress = QStringLiteral("compress");

/// A whole number option's allowed values.
struct Range {
    int lowest;
    int highest;
};
constexpr Range kWorkerRange{1, 8};
constexpr Range kFolderRange{1, 8};
constexpr Range kQualityRange{1, 100};

CommandLine usageError(const QString& error) {
    return {Command::UsageError, {}, error};
}

/// The value of `option` when it was given, or why it cannot be used.
class NumberReader {
  public:
    explicit NumberReader(const QCommandLineParser& parser) : parser_(parser) {}

    /// Reads `name` into `target` when given; false after an unusable value.
    bool read(const QString& name, Range range, std::optional<int>& target) {
        if (!parser_.isSet(name)) {
            return true;
        }
        const QString text = parser_.value(name);
        const auto number = parseDecimalInteger(text);
        if (!number || *number < range.lowest || *number > range.highest) {
            error_ = QStringLiteral("--%1 takes a whole number from %2 to %3, not '%4'.")
                         .arg(name)
                         .arg(range.lowest)
                         .arg(range.highest)
                         .arg(text);
            return false;
        }
        target = static_cast<int>(*number);
        return true;
    }

    QString error() const { return error_; }

  private:
    const QCommandLineParser& parser_;
    QString error_;
};

/// Parses `arguments`; gives the command line already decided by then (a
/// usage error, --help or --version), or nothing when it goes on.
std::optional<CommandLine> parsedUpToHelpAndVersion(QCommandLineParser& parser,
                                                    const QStringList& arguments) {
    if (!parser.parse(arguments)) {
        return usageError(parser.errorText());
    }
    if (parser.isSet(QStringLiteral("help"))) {
        return CommandLine{Command::Help, {}, {}};
    }
    if (parser.isSet(QStringLiteral("version"))) {
        return CommandLine{Command::Version, {}, {}};
    }
    return std::nullopt;
}

QCommandLineOption helpOption() {
    return {{QStringLiteral("h"), QStringLiteral("help")}, QString()};
}

/// -V as GNU tools have it; -v, which earlier versions took, still works.
QCommandLineOption versionOption() {
    return {{QStringLiteral("V"), QStringLiteral("v"), QStringLiteral("version")}, QString()};
}

QCommandLineOption valueOption(const QString& name, const QString& valueName) {
    return QCommandLineOption(name, QString(), valueName);
}

/// Parses what follows "velmora sort" or "velmora compress".
CommandLine parseJob(Command command, const QStringList& arguments) {
    const bool sorting = command == Command::Sort;
    QCommandLineParser parser;
    parser.addOptions({helpOption(),
                       versionOption(),
                       {QStringLiteral("dry-run"), QString()},
                       {{QStringLiteral("q"), QStringLiteral("quiet")}, QString()},
                       {QStringLiteral("json"), QString()},
                       valueOption(QStringLiteral("workers"), QStringLiteral("N"))});
    if (sorting) {
        parser.addOptions({{QStringLiteral("copy"), QString()},
                           {QStringLiteral("move"), QString()},
                           valueOption(QStringLiteral("odd"), QStringLiteral("N")),
                           valueOption(QStringLiteral("even"), QStringLiteral("N"))});
    } else {
        parser.addOption(valueOption(QStringLiteral("quality"), QStringLiteral("Q")));
    }
    if (const auto early = parsedUpToHelpAndVersion(parser, arguments)) {
        return *early;
    }

    const QString name = sorting ? kSort : kCompress;
    const QStringList sources = parser.positionalArguments();
    if (sources.isEmpty()) {
        return usageError(QStringLiteral("%1 needs a SOURCE folder.").arg(name));
    }
    if (sources.size() > 1) {
        return usageError(QStringLiteral("%1 takes one SOURCE folder, not %2 (%3).")
                              .arg(name)
                              .arg(sources.size())
                              .arg(sources.join(QStringLiteral(", "))));
    }

    CommandLine result{command, {}, {}};
    JobOptions& job = result.job;
    job.source = sources.first();
    job.dryRun = parser.isSet(QStringLiteral("dry-run"));
    job.quiet = parser.isSet(QStringLiteral("quiet"));
    job.json = parser.isSet(QStringLiteral("json"));
    NumberReader numbers(parser);
    const bool numbersRead =
        numbers.read(QStringLiteral("workers"), kWorkerRange, job.workers) &&
        (sorting ? numbers.read(QStringLiteral("odd"), kFolderRange, job.oddFolders) &&
                       numbers.read(QStringLiteral("even"), kFolderRange, job.evenFolders)
                 : numbers.read(QStringLiteral("quality"), kQualityRange, job.quality));
    if (!numbersRead) {
        return usageError(numbers.error());
    }
    if (sorting) {
        const bool copy = parser.isSet(QStringLiteral("copy"));
        const bool move = parser.isSet(QStringLiteral("move"));
        if (copy && move) {
            return usageError(QStringLiteral("--copy and --move exclude each other."));
        }
        if (copy || move) {
            job.mode = copy ? QStringLiteral("COPY") : QStringLiteral("MOVE");
        }
    }
    return result;
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    // The first parser stops at the subcommand, whose own options follow it.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addOptions({helpOption(), versionOption()});
    if (const auto early = parsedUpToHelpAndVersion(parser, arguments)) {
        return *early;
    }
    const QStringList rest = parser.positionalArguments();
    if (rest.isEmpty()) {
        return {Command::Window, {}, {}};
    }
    const QString subcommand = rest.first();
    const QString program = arguments.value(0, QStringLiteral("velmora"));
    const QStringList jobArguments = QStringList{program + u' ' + subcommand} + rest.mid(1);
    if (subcommand == kSort) {
        return parseJob(Command::Sort, jobArguments);
    }
    if (subcommand == kCompress) {
        return parseJob(Command::Compress, jobArguments);
    }
    return usageError(
        QStringLiteral("'%1' is not a subcommand; there are sort and compress.").arg(subcommand));
}

QString usageText() {
    const SorterModel sorter;
    const CompressModel compressor;
    return QStringLiteral(
               "Usage: velmora [--help | --version]\n"
               "       velmora sort SOURCE [--copy | --move] [--workers N] [--odd N]\n"
               "                    [--even N] [--dry-run] [--quiet | --json]\n"
               "       velmora compress SOURCE [--quality Q] [--workers N] [--dry-run]\n"
               "                    [--quiet | --json]\n"
               "\n"
               "Without a subcommand, velmora opens its window, which needs a display.\n"
               "\n"
               "  sort      moves or copies every numbered photo below SOURCE into folders for\n"
               "            odd numbers (GANJIL) and even numbers (GENAP) made inside SOURCE\n"
               "  compress  writes every photo below SOURCE as a JPEG into SOURCE/COMPRESSED_Q\n"
               "\n"
               "Options:\n"
               "  --copy, --move  copy or move the photos (default: %1)\n"
               "  --workers N     photos handled at once, 1 to 8 (default: %2)\n"
               "  --odd N         folders for odd numbers, 1 to 8 (default: %3)\n"
               "  --even N        folders for even numbers, 1 to 8 (default: %4)\n"
               "  --quality Q     JPEG quality, 1 to 100 (default: %5)\n"
               "  --dry-run       scan only: print the counts and the folders a run would\n"
               "                  make, and change nothing\n"
               "  -q, --quiet     print nothing but errors; the exit status tells the rest\n"
               "  --json          print one JSON record per photo (where it went, or why it\n"
               "                  failed) and a last one with the counts, instead of the\n"
               "                  summary\n"
               "  -h, --help      print this help\n"
               "  -V, --version   print the version\n"
               "\n"
               "Progress and the lists of failed photos go to standard error; the summary\n"
               "goes to standard output.\n"
               "\n"
               "Exit status: 0 all done; 1 some photos failed; 2 usage error; 3 the job could\n"
               "not run; 130 interrupted by Ctrl-C (143 by SIGTERM, 129 by SIGHUP).\n"
               "\n"
               "Report bugs to <" VELMORA_BUG_URL ">.\n")
        .arg(sorter.mode().toLower())
        .arg(sorter.workers())
        .arg(sorter.oddFolders())
        .arg(sorter.evenFolders())
        .arg(compressor.quality());
}

QString usageErrorText(const QString& error) {
    return QStringLiteral("velmora: %1\nTry 'velmora --help'.\n").arg(error);
}

QString versionText() {
    return QStringLiteral("velmora " VELMORA_VERSION "\n");
}

}  // namespace velmora::cli
