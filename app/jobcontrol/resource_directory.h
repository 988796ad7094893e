// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

/// The application's resource directory, holding the backend scripts:
/// "../share/velmora" from the folder of the running executable (the build
/// tree and an installed tree have the same layout).
QString applicationResourceDirectory();

}  // namespace velmora
