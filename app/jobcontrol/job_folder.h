// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string_view>

namespace velmora {

/// Makes a fresh job folder `prefix` + upper-case UUID in the user's
/// temporary directory (TMPDIR honoured), with missing parents, readable
/// and writable by the user alone (mode 0700): it holds the list of the
/// user's photo paths. Returns the path also when making it failed.
QString makeJobFolder(const QString& prefix);

/// The path of the file `name` (one of the job:: file names) in `jobFolder`.
QString jobFilePath(const QString& jobFolder, std::string_view name);

/// The text of the file `name` in `jobFolder`; empty when it cannot be read.
QString jobFileText(const QString& jobFolder, std::string_view name);

}  // namespace velmora
