// SPDX-License-Identifier: GPL-3.0-or-later
#include "backend_files.h"

#include <QFile>

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "decimal.h"
#include "job_protocol.h"

namespace velmora {

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

/// Length of the run of ASCII digits starting at `at`.
qsizetype digitRun(const QString& text, qsizetype at) {
    qsizetype end = at;
    while (end < text.size() && isDigit(text[end])) {
        ++end;
    }
    return end - at;
}

/// True when `text` is a decimal number in the accepted form.
bool isDecimalNumber(const QString& text) {
    qsizetype at = 0;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        ++at;
    }
    const qsizetype whole = digitRun(text, at);
    at += whole;
    qsizetype fraction = 0;
    if (at < text.size() && text[at] == u'.') {
        fraction = digitRun(text, at + 1);
        at += 1 + fraction;
    }
    if (whole == 0 && fraction == 0) {
        return false;
    }
    if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
        ++at;
        if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
            ++at;
        }
        const qsizetype exponent = digitRun(text, at);
        if (exponent == 0) {
            return false;
        }
        at += exponent;
    }
    return at == text.size();
}

/// The fields of `text` when it has at least `needed` of them.
std::optional<QStringList> fieldsOf(const QString& text, std::size_t needed) {
    QStringList fields = splitFields(text);
    if (fields.size() < static_cast<qsizetype>(needed)) {
        return std::nullopt;
    }
    return fields;
}

/// The count at `position` of `fields`, or 0 when the line ends before it
/// (a line an older tool wrote) or holds no count there.
qint64 optionalCount(const QStringList& fields, std::size_t position) {
    if (static_cast<qsizetype>(position) >= fields.size()) {
        return 0;
    }
    return parseDecimalInteger(fields[position]).value_or(0);
}

}  // namespace

QStringList splitFields(const QString& text) {
    return text.trimmed().split(QLatin1Char(job::kFieldSeparator), Qt::SkipEmptyParts);
}

std::optional<qint64> parseDecimalInteger(const QString& text) {
    // Non-ASCII digits become bytes outside "0"-"9" in UTF-8 and are refused.
    const std::string utf8 = text.toStdString();
    return parseDecimalInteger(std::string_view(utf8));
}

std::optional<double> parseRealNumber(const QString& text) {
    if (!isDecimalNumber(text)) {
        return std::nullopt;
    }
    // from_chars ignores the locale (Qt may have set LC_NUMERIC) and takes no "+".
    const std::string ascii = text.mid(text[0] == u'+' ? 1 : 0).toStdString();
    double value = 0.0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc{} || end != ascii.data() + ascii.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<SortSummaryLine> parseSortSummary(const QString& text) {
    using Field = job::SortSummaryField;
    const auto fields = fieldsOf(text, Field::ignored + 1);
    if (!fields) {
        return std::nullopt;
    }
    const auto total = parseDecimalInteger((*fields)[Field::total]);
    const auto odd = parseDecimalInteger((*fields)[Field::odd]);
    const auto even = parseDecimalInteger((*fields)[Field::even]);
    const auto ignored = parseDecimalInteger((*fields)[Field::ignored]);
    if (!total || !odd || !even || !ignored) {
        return std::nullopt;
    }
    return SortSummaryLine{*total, *odd, *even, *ignored,
                           optionalCount(*fields, Field::unreadableNames)};
}

std::optional<CompressSummaryLine> parseCompressSummary(const QString& text) {
    using Field = job::CompressSummaryField;
    const auto fields = fieldsOf(text, Field::bytes + 1);
    if (!fields) {
        return std::nullopt;
    }
    const auto photos = parseDecimalInteger((*fields)[Field::photos]);
    const auto leftAside = parseDecimalInteger((*fields)[Field::leftAside]);
    const auto bytes = parseRealNumber((*fields)[Field::bytes]);
    if (!photos || !leftAside || !bytes) {
        return std::nullopt;
    }
    return CompressSummaryLine{*photos, *leftAside, *bytes,
                               optionalCount(*fields, Field::unreadableNames)};
}

std::optional<SortStatusLine> parseSortStatus(const QString& text) {
    using Field = job::SortStatusField;
    const auto fields = fieldsOf(text, Field::elapsed + 1);
    if (!fields) {
        return std::nullopt;
    }
    const auto done = parseDecimalInteger((*fields)[Field::done]);
    const auto failed = parseDecimalInteger((*fields)[Field::failed]);
    const auto bytes = parseRealNumber((*fields)[Field::bytes]);
    const auto seconds = parseRealNumber((*fields)[Field::elapsed]);
    if (!done || !failed || !bytes || !seconds) {
        return std::nullopt;
    }
    return SortStatusLine{*done, *failed, *bytes, *seconds};
}

std::optional<CompressStatusLine> parseCompressStatus(const QString& text) {
    using Field = job::CompressStatusField;
    const auto fields = fieldsOf(text, Field::total + 1);
    if (!fields) {
        return std::nullopt;
    }
    const auto done = parseDecimalInteger((*fields)[Field::done]);
    const auto failed = parseDecimalInteger((*fields)[Field::failed]);
    const auto outputBytes = parseRealNumber((*fields)[Field::outputBytes]);
    const auto inputBytes = parseRealNumber((*fields)[Field::inputBytes]);
    const auto seconds = parseRealNumber((*fields)[Field::elapsed]);
    if (!done || !failed || !outputBytes || !inputBytes || !seconds) {
        return std::nullopt;
    }
    return CompressStatusLine{*done,
                              *failed,
                              *outputBytes,
                              *inputBytes,
                              *seconds,
                              optionalCount(*fields, Field::kept),
                              optionalCount(*fields, Field::uncompressed)};
}

QList<FailedPhoto> parseFailures(const QString& text) {
    QList<FailedPhoto> failures;
    const QLatin1Char separator(job::kReasonSeparator);
    for (const QString& line : parsePathList(text)) {
        FailedPhoto photo{line, QString(), QString()};
        // path, code, words; a line of an older list has no code.
        const qsizetype wordsAt = line.lastIndexOf(separator);
        if (wordsAt >= 0) {
            photo.reason = line.mid(wordsAt + 1);
            photo.path = line.left(wordsAt);
            const qsizetype codeAt = photo.path.lastIndexOf(separator);
            if (codeAt >= 0) {
                photo.code = photo.path.mid(codeAt + 1);
                photo.path.truncate(codeAt);
            }
        }
        failures.append(photo);
    }
    return failures;
}

QStringList parsePathList(const QString& text) {
    return text.split(u'\n', Qt::SkipEmptyParts);
}

std::optional<QString> readTextFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return QString::fromUtf8(bytes);
}

}  // namespace velmora
