// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

/// The installation the running program belongs to (the /usr of
/// /usr/bin/velmora): its own folder followed by the relative path set with
/// setPrefixFromProgram(), ".." unless another was set. The build tree and
/// an installed tree have the same layout.
QString installationPrefix();

/// Sets the way up from the program's folder to the installation, for a
/// program installed elsewhere than in bin/ (the window's, in
/// libexec/velmora/, sets "../.."). Called before any model exists.
void setPrefixFromProgram(const QString& relativePath);

/// The application's resource directory, holding the backend scripts:
/// "share/velmora" in the installation.
QString applicationResourceDirectory();

}  // namespace velmora
