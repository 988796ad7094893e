// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace velmora {

/// Creates the job folder `folder` with all missing parents. Failures are
/// ignored: they show when its files are opened.
void createJobFolder(const std::string& folder);

}  // namespace velmora
