// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

namespace velmora {

/// Asks the user for one folder under the dialog title given; returns its
/// path, or an empty text when the user cancels.
using FolderChooser = std::function<QString(const QString& title)>;

}  // namespace velmora
