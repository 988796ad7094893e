// SPDX-License-Identifier: GPL-3.0-or-later
#include "job_files.h"

#include <filesystem>

namespace velmora {

void createJobFolder(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
}

}  // namespace velmora
