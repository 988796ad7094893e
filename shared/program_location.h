// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string_view>

namespace velmora {

/// The path of a program called `name` in the folder of the running
/// executable (found through /proc/self/exe, so links to the executable do
/// not count). Gives an empty path when the executable cannot be located;
/// whether the program exists is not tested.
std::filesystem::path programBesideThisOne(std::string_view name);

}  // namespace velmora
