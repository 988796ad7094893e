// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace velmora::cli {

/// One compact JSON record per photo a run handled, from its job folder:
/// each line of the outputs list as {"source", "result", and "destination"
/// (a sort) or "output" (a compress)}, then each failed photo as {"source",
/// "result": "failed", "reason" (its code), "words"}. Paths are as the
/// lists give them.
QStringList photoRecords(const QString& jobFolder, const QString& placedKey);

/// The last record: {"summary": `fields`}.
QString summaryRecord(const QJsonObject& fields);

}  // namespace velmora::cli
