#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

namespace velmora::cli {

/// Where the subcommands write: results to standard output, problems to
/// standard error. When standard output is a terminal it also carries one
/// live line, redrawn in place and cut to the terminal's width; elsewhere
/// live lines are not written at all.
class Console {
  public:
    Console(std::FILE* out, std::FILE* err);
    /// Leaves no live line behind.
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    /// Replaces the live line with `text` (terminal only).
    void showLive(const QString& text);
    /// Clears the live line (terminal only).
    void clearLive();
    /// Writes `line` and a line feed to standard output, below no live line.
    void print(const QString& line);
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
    bool liveShown_ = false;
};

/// At most `limit` of `lines`, each indented by two blanks, then
/// "  and N more" for the rest.
QStringList limitedList(const QStringList& lines, int limit);

}  // namespace velmora::cli
