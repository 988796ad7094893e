// SPDX-License-Identifier: GPL-3.0-or-later
#include "json_records.h"

#include <QJsonDocument>

#include <array>
#include <string_view>

#include "backend_files.h"
#include "job_folder.h"
#include "job_protocol.h"

namespace velmora::cli {

namespace {

QString compact(const QJsonObject& object) {
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

bool isResult(QStringView field) {
    namespace result = job::output_result;
    constexpr std::array<std::string_view, 6> kResults{result::kMoved,      result::kCopied,
                                                       result::kCompressed, result::kRewritten,
                                                       result::kKept,       result::kUncompressed};
    for (const std::string_view known : kResults) {
        if (field == QLatin1String(known.data(), static_cast<qsizetype>(known.size()))) {
            return true;
        }
    }
    return false;
}

/// An outputs line as a record: the first field that names a result splits
/// the photo's path from where it went, since either path may hold a tab.
std::optional<QJsonObject> outputRecord(const QString& line, const QString& placedKey) {
    const QStringList fields = line.split(QLatin1Char(job::kReasonSeparator));
    for (qsizetype i = 1; i + 1 < fields.size(); ++i) {
        if (isResult(fields[i])) {
            const QString separator(QLatin1Char(job::kReasonSeparator));
            return QJsonObject{{QStringLiteral("source"), fields.mid(0, i).join(separator)},
                               {QStringLiteral("result"), fields[i]},
                               {placedKey, fields.mid(i + 1).join(separator)}};
        }
    }
    return std::nullopt;
}

}  // namespace

QStringList photoRecords(const QString& jobFolder, const QString& placedKey) {
    QStringList records;
    for (const QString& line : parsePathList(jobFileText(jobFolder, job::kOutputs))) {
        if (const auto record = outputRecord(line, placedKey)) {
            records << compact(*record);
        }
    }
    for (const FailedPhoto& photo : parseFailures(jobFileText(jobFolder, job::kFailures))) {
        records << compact({{QStringLiteral("source"), photo.path},
                            {QStringLiteral("result"), QStringLiteral("failed")},
                            {QStringLiteral("reason"), photo.code},
                            {QStringLiteral("words"), photo.reason}});
    }
    return records;
}

QString summaryRecord(const QJsonObject& fields) {
    return compact({{QStringLiteral("summary"), fields}});
}

}  // namespace velmora::cli
