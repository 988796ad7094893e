// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmora {

/// The pieces of a one-line backend file: the text trimmed at both ends and
/// cut at every job::kFieldSeparator, empty pieces dropped. Pieces themselves are not trimmed.
QStringList splitFields(const QString& text);

/// An optional "+" or "-" and one or more digits 0-9, nothing else, within
/// the signed 64-bit range.
std::optional<qint64> parseDecimalInteger(const QString& text);

/// A finite decimal number: optional sign, digits with an optional fraction
/// (or a fraction alone) and an optional exponent. No hexadecimal, no
/// "inf", no "nan", no blanks.
std::optional<double> parseRealNumber(const QString& text);

/// The sort scan's summary line (job::SortSummaryField).
struct SortSummaryLine {
    qint64 total = 0;
    qint64 odd = 0;
    qint64 even = 0;
    qint64 ignored = 0;
    qint64 unreadableNames = 0;  ///< among the ignored: photos whose names are not UTF-8
};
/// Parses the sort scan's summary; further fields are ignored.
std::optional<SortSummaryLine> parseSortSummary(const QString& text);

/// The compress scan's summary line (job::CompressSummaryField).
struct CompressSummaryLine {
    qint64 photos = 0;
    qint64 leftAside = 0;
    double bytes = 0.0;
    qint64 unreadableNames = 0;  ///< among those left aside: photos whose names are not UTF-8
};
/// Parses the compress scan's summary; further fields are ignored.
std::optional<CompressSummaryLine> parseCompressSummary(const QString& text);

/// The sort worker's status line (job::SortStatusField); the total is not read.
struct SortStatusLine {
    qint64 done = 0;
    qint64 failed = 0;
    double bytes = 0.0;
    double seconds = 0.0;
};
/// Parses the sort worker's status line; needs the fields up to the elapsed
/// seconds, so a line without the total is taken.
std::optional<SortStatusLine> parseSortStatus(const QString& text);

/// The compress worker's status line (job::CompressStatusField); the total
/// is not read.
struct CompressStatusLine {
    qint64 done = 0;
    qint64 failed = 0;
    double outputBytes = 0.0;
    double inputBytes = 0.0;
    double seconds = 0.0;
    qint64 kept = 0;          ///< outputs that are the source's own bytes
    qint64 uncompressed = 0;  ///< copied unchanged: not a readable image
};
/// Parses the compress worker's status line; needs the fields up to the
/// total, reads all but the total, and takes missing `kept` and
/// `uncompressed` fields (an older line) as 0.
std::optional<CompressStatusLine> parseCompressStatus(const QString& text);

/// One photo a worker could not handle, as the failures list gives it.
struct FailedPhoto {
    QString path;    ///< the photo's path as the work list gave it
    QString code;    ///< the reason's code ("disk-full"); empty when the line had none
    QString reason;  ///< a short reason in English; empty when the line had none
};
/// Parses a failures list (job::kFailures, also job::kUncompressed): one
/// photo a line, its path, reason code and reason split at the line's last
/// two job::kReasonSeparator (a path may hold that character, a code or a
/// reason never does). Empty lines are dropped.
QList<FailedPhoto> parseFailures(const QString& text);

/// Parses a list of paths, one a line (job::kUnreadable); empty lines dropped.
QStringList parsePathList(const QString& text);

/// The whole of `path` as UTF-8; nothing when it cannot be read.
std::optional<QString> readTextFile(const QString& path);

}  // namespace velmora
