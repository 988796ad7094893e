// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

#include "console.h"

namespace velmora::cli {

/// The absolute, clean path of the folder `given` when it can be listed;
/// otherwise says why on the console and gives nothing.
std::optional<QString> usableSourceFolder(const QString& given, Console& console);

}  // namespace velmora::cli
