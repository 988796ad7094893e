// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "failure_reason.h"
#include "file_io.h"

namespace velmora {

/// A folder a worker writes into, inside the photo folder.
struct WorkerFolder {
    UniqueFd handle;  ///< invalid when the folder cannot be used
    Failure failure;  ///< why not: the reason every photo bound for it fails with
};

/// Opens the photo folder `path`, made first with any missing parents, as
/// the parent of the folders a worker makes (links on its own path are
/// followed: it is the folder the user chose).
WorkerFolder openPhotoFolder(const std::string& path);

/// Makes the folder `name` inside `parent` (one already there is fine) and
/// opens it without following a symbolic link: a link or a file of that name
/// gives an invalid handle and the failure "`what` is a link" or "`what` is
/// not a folder", so nothing is ever written outside the photo folder
/// through it. A `parent` that could not be opened passes its failure on.
WorkerFolder makeWorkerFolder(const WorkerFolder& parent, const std::string& name,
                              std::string_view what);

/// True when the folder `path`, or the nearest existing folder above it,
/// lies on a file system mounted read-only.
bool isOnReadOnlyFileSystem(const std::string& path);

/// False when a file cannot be made in the folder open as `folder` because
/// its file system takes no writes (EROFS), as on a write-protected card
/// that a driver mounted for writing: a hidden probe file is made and
/// removed. True in every other case.
bool takesWrites(int folder);

}  // namespace velmora
