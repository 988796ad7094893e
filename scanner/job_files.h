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
int openEmptyFile(const std::string& folder, const char* name);

/// Replaces `folder`/`name` with `content` in one step: the bytes go to a
/// temporary file in the same folder, which is then renamed over it, so a
/// reader sees the old file or the whole new one. Gives 0, or the errno of
/// the step that failed (the temporary file is then removed).
int replaceFileAtomically(const std::string& folder, const char* name, std::string_view content);

}  // namespace velmora
