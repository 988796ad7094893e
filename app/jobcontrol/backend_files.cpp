#include "backend_files.h"

#include <QFile>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

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

}  // namespace

QStringList splitFields(const QString& text) {
    return text.trimmed().split(u'|', Qt::SkipEmptyParts);
}

std::optional<qint64> parseDecimalInteger(const QString& text) {
    qsizetype at = 0;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        ++at;
    }
    if (digitRun(text, at) == 0 || at + digitRun(text, at) != text.size()) {
        return std::nullopt;
    }
    // from_chars takes a "-" but not a "+".
    const std::string ascii = text.mid(text[0] == u'+' ? 1 : 0).toStdString();
    qint64 value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc{} || end != ascii.data() + ascii.size()) {
        return std::nullopt;
    }
    return value;
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

std::optional<SortSummary> parseSortSummary(const QString& text) {
    const QStringList fields = splitFields(text);
    if (fields.size() < 4) {
        return std::nullopt;
    }
    const auto total = parseDecimalInteger(fields[0]);
    const auto odd = parseDecimalInteger(fields[1]);
    const auto even = parseDecimalInteger(fields[2]);
    const auto ignored = parseDecimalInteger(fields[3]);
    if (!total || !odd || !even || !ignored) {
        return std::nullopt;
    }
    return SortSummary{*total, *odd, *even, *ignored};
}

std::optional<CompressSummary> parseCompressSummary(const QString& text) {
    const QStringList fields = splitFields(text);
    if (fields.size() < 3) {
        return std::nullopt;
    }
    const auto photos = parseDecimalInteger(fields[0]);
    const auto leftAside = parseDecimalInteger(fields[1]);
    const auto bytes = parseRealNumber(fields[2]);
    if (!photos || !leftAside || !bytes) {
        return std::nullopt;
    }
    return CompressSummary{*photos, *leftAside, *bytes};
}

std::optional<SortStatus> parseSortStatus(const QString& text) {
    const QStringList fields = splitFields(text);
    if (fields.size() < 4) {
        return std::nullopt;
    }
    const auto done = parseDecimalInteger(fields[0]);
    const auto failed = parseDecimalInteger(fields[1]);
    const auto bytes = parseRealNumber(fields[2]);
    const auto seconds = parseRealNumber(fields[3]);
    if (!done || !failed || !bytes || !seconds) {
        return std::nullopt;
    }
    return SortStatus{*done, *failed, *bytes, *seconds};
}

std::optional<CompressStatus> parseCompressStatus(const QString& text) {
    const QStringList fields = splitFields(text);
    if (fields.size() < 6) {
        return std::nullopt;
    }
    const auto done = parseDecimalInteger(fields[0]);
    const auto failed = parseDecimalInteger(fields[1]);
    const auto outputBytes = parseRealNumber(fields[2]);
    const auto inputBytes = parseRealNumber(fields[3]);
    const auto seconds = parseRealNumber(fields[4]);
    if (!done || !failed || !outputBytes || !inputBytes || !seconds) {
        return std::nullopt;
    }
    return CompressStatus{*done, *failed, *outputBytes, *inputBytes, *seconds};
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
