// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Opening the folder of a path from a work list, also when the path is
// longer than the system lets one call take (PATH_MAX).

#include <string>
#include <string_view>

#include "file_io.h"

namespace velmora {

/// A listed path split at its last "/": the folder ("." when there is no
/// "/", "/" when the only one leads) and the name in it (empty when the path
/// ends with "/").
struct ListedPath {
    std::string_view folder;
    std::string_view name;
};
ListedPath splitListedPath(std::string_view path);

/// Opens the folder `path` (absolute, or relative to the current folder) as
/// a handle for the *at calls (O_PATH). A path longer than PATH_MAX is
/// opened a piece at a time, each piece relative to the folder opened
/// before. Links on the way are followed, as a path lookup does. Gives an
/// invalid descriptor, with errno set, on failure.
UniqueFd openFolderPath(std::string_view path);

/// The folder of the file handled last, kept open so that the next file
/// listed in the same folder costs no open. One per thread.
class FolderCache {
  public:
    /// `folder` opened as by openFolderPath, or -1 with errno set.
    int open(std::string_view folder);

  private:
    std::string path_;
    UniqueFd fd_;
    int error_ = 0;
    bool filled_ = false;
};

}  // namespace velmora
