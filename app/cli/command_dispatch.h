// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace velmora::cli {

/// Carries out every command line that opens no window: --help, --version,
/// a usage error, "sort" and "compress" (in a QCoreApplication: no display
/// needed). Returns its exit status, or nothing when the window is asked
/// for. Makes no application object before it knows which.
std::optional<int> runWithoutWindow(int& argc, char** argv);

}  // namespace velmora::cli
