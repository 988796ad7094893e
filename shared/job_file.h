// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Files of the job folder as the tools open them: never blocking on a FIFO
// planted there, never following a link where a file is created, and only
// ever as regular files.

#include <filesystem>
#include <string_view>

#include "file_io.h"

namespace velmora {

/// Opens the job-folder file `file` for reading without blocking (a FIFO or
/// device does not hold the open up). Gives an invalid descriptor, with
/// errno set, when it cannot be opened or is not a regular file.
UniqueFd openJobFileForReading(const std::filesystem::path& file);

/// Replaces `folder`/`name` with a new empty regular file and opens it for
/// writing at offset 0, with `extraFlags` (such as O_APPEND) besides. What
/// stood at that name (a link, a FIFO, an old file) is removed, never
/// followed or opened. Gives an invalid descriptor when the file cannot be
/// made.
UniqueFd createEmptyJobFile(const std::filesystem::path& folder, std::string_view name,
                            int extraFlags = 0);

}  // namespace velmora
