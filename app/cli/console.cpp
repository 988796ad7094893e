// SPDX-License-Identifier: GPL-3.0-or-later
#include "console.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <QtGlobal>

namespace velmora::cli {

namespace {
/// Back to the start of the line, and the rest of it erased.
constexpr char kRedraw[] = "\r\033[K";
constexpr int kDefaultColumns = 80;
}  // namespace

namespace {
/// True when `stream` is a terminal that takes escape codes.
bool isCapableTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) == 1 && qEnvironmentVariable("TERM") != QLatin1String("dumb");
}
}  // namespace

Console::Console(std::FILE* out, std::FILE* err, bool quiet)
    : out_(out), err_(err), terminal_(!quiet && isCapableTerminal(err)), quiet_(quiet) {}

Console::~Console() {
    clearLive();
}

void Console::showLive(const QString& text) {
    if (!terminal_) {
        return;
    }
    // A line wider than the terminal would wrap, and "\r" would then redraw
    // only its last row.
    write(err_, QLatin1String(kRedraw) + text.left(columns() - 1));
    liveShown_ = true;
}

void Console::clearLive() {
    if (liveShown_) {
        write(err_, QLatin1String(kRedraw));
        liveShown_ = false;
    }
}

void Console::print(const QString& line) {
    if (!quiet_) {
        record(line);
    }
}

void Console::record(const QString& line) {
    clearLive();
    write(out_, line + u'\n');
}

void Console::note(const QString& text) {
    if (!quiet_) {
        errorText(text);
    }
}

void Console::error(const QString& line) {
    errorText(QStringLiteral("velmora: ") + line + u'\n');
}

void Console::errorText(const QString& text) {
    clearLive();
    write(err_, text);
}

int Console::columns() const {
    winsize size{};
    if (ioctl(fileno(err_), TIOCGWINSZ, &size) == 0 && size.ws_col > 1) {
        return size.ws_col;
    }
    return kDefaultColumns;
}

void Console::write(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

QStringList limitedList(const QStringList& lines, int limit) {
    QStringList shown;
    for (qsizetype i = 0; i < lines.size() && i < limit; ++i) {
        shown << QStringLiteral("  ") + lines[i];
    }
    if (lines.size() > limit) {
        shown << QStringLiteral("  and %1 more").arg(lines.size() - limit);
    }
    return shown;
}

}  // namespace velmora::cli
