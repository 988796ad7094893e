// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

namespace velmora::cli {

/// Where the subcommands write: the summary (or JSON records) to standard
/// output, everything else to standard error: the live line, notes such as
/// the list of failed photos, and errors. When standard error is a
/// terminal that understands escape codes (TERM is not "dumb") it carries
/// one live line, redrawn in place and cut to the terminal's width;
/// elsewhere live lines are not written at all. Quiet, it writes only
/// errors and records.
class Console {
  public:
    Console(std::FILE* out, std::FILE* err, bool quiet = false);
    /// Leaves no live line behind.
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    /// Replaces the live line with `text` (terminal only, not quiet).
    void showLive(const QString& text);
    /// Clears the live line (terminal only).
    void clearLive();
    /// Writes `line` of the summary and a line feed to standard output
    /// (not quiet).
    void print(const QString& line);
    /// Writes `line`, a JSON record, and a line feed to standard output.
    void record(const QString& line);
    /// Writes `text` as it is to standard error (not quiet).
    void note(const QString& text);
    /// Writes "velmora: ", `line` and a line feed to standard error.
    void error(const QString& line);
    /// Writes `text` as it is to standard error.
    void errorText(const QString& text);

  private:
    /// Columns of the terminal, 80 when it does not say.
    int columns() const;
    void write(std::FILE* stream, const QString& text);

    std::FILE* out_;
    std::FILE* err_;
    bool terminal_;
    bool quiet_;
    bool liveShown_ = false;
};

/// At most `limit` of `lines`, each indented by two blanks, then
/// "  and N more" for the rest.
QStringList limitedList(const QStringList& lines, int limit);

}  // namespace velmora::cli
