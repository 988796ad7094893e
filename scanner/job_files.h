#pragma once

#include <string>

namespace velmora {

/// Creates the job folder `folder` with all missing parents. Failures are
/// ignored: they show when its files are opened.
void createJobFolder(const std::string& folder);

}  // namespace velmora
