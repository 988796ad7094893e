#pragma once

#include <string>
#include <string_view>

namespace velmora {

/// Creates the job folder `folder` with all missing parents. Failures are
/// ignored: they show when its files are opened.
void createJobFolder(const std::string& folder);

/// Replaces `folder`/`name` with a new empty file (a link of that name is
/// replaced, never followed) and opens it for writing at offset 0. Gives the
/// descriptor, or -1.
int openEmptyFile(const std::string& folder, std::string_view name);

}  // namespace velmora
