#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace velmora {

/// The pieces of a one-line backend file: the text trimmed at both ends and
/// cut at every "|", empty pieces dropped. Pieces themselves are not trimmed.
QStringList splitFields(const QString& text);

/// An optional "+" or "-" and one or more digits 0-9, nothing else, within
/// the signed 64-bit range.
std::optional<qint64> parseDecimalInteger(const QString& text);

/// A finite decimal number: optional sign, digits with an optional fraction
/// (or a fraction alone) and an optional exponent. No hexadecimal, no
/// "inf", no "nan", no blanks.
std::optional<double> parseRealNumber(const QString& text);

/// The sort scan's summary: total|odd|even|ignored.
struct SortSummary {
    qint64 total = 0;
    qint64 odd = 0;
    qint64 even = 0;
    qint64 ignored = 0;
};
/// Parses the sort scan's summary; further fields are ignored.
std::optional<SortSummary> parseSortSummary(const QString& text);

/// The compress scan's summary: photos|leftAside|bytes.
struct CompressSummary {
    qint64 photos = 0;
    qint64 leftAside = 0;
    double bytes = 0.0;
};
/// Parses the compress scan's summary; further fields are ignored.
std::optional<CompressSummary> parseCompressSummary(const QString& text);

/// The sort worker's status line: done|failed|bytes|elapsed[|total].
struct SortStatus {
    qint64 done = 0;
    qint64 failed = 0;
    double bytes = 0.0;
    double seconds = 0.0;
};
/// Parses the sort worker's status line; needs the first four fields.
std::optional<SortStatus> parseSortStatus(const QString& text);

/// The compress worker's status line: done|failed|outputBytes|inputBytes|elapsed|total.
struct CompressStatus {
    qint64 done = 0;
    qint64 failed = 0;
    double outputBytes = 0.0;
    double inputBytes = 0.0;
    double seconds = 0.0;
};
/// Parses the compress worker's status line; needs six fields, reads five.
std::optional<CompressStatus> parseCompressStatus(const QString& text);

/// The whole of `path` as UTF-8; nothing when it cannot be read.
std::optional<QString> readTextFile(const QString& path);

}  // namespace velmora
