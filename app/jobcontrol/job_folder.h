#pragma once

#include <QString>

namespace velmora {

/// Makes a fresh job folder `prefix` + upper-case UUID in the user's
/// temporary directory (TMPDIR honoured), with missing parents, readable
/// and writable by the user alone (mode 0700): it holds the list of the
/// user's photo paths. Returns the path also when making it failed.
QString makeJobFolder(const QString& prefix);

}  // namespace velmora
