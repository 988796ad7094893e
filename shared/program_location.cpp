// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_location.h"

#include <system_error>

namespace velmora {

std::filesystem::path programBesideThisOne(std::string_view name) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || self.empty())
        return {};
    return self.parent_path() / name;
}

}  // namespace velmora
