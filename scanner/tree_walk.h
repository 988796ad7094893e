// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

/// One entry met by `walkTree`. Valid only during the call that receives it.
struct WalkEntry {
    int folderFd;           ///< open folder that holds the entry
    std::string_view name;  ///< the entry's name in that folder, followed by a NUL
    std::string_view path;  ///< the walk's root joined with the entry's path below it
};

/// What `walkTree` hands its entries to.
class WalkVisitor {
  public:
    virtual ~WalkVisitor() = default;
    /// Called for each folder met, before its contents; false prunes it.
    virtual bool enterFolder(const WalkEntry& folder) = 0;
    /// Called for each regular file met.
    virtual void visitFile(const WalkEntry& file) = 0;
    /// Called for each folder that could not be opened or listed, by its
    /// path (the root's own path when the root cannot be opened as a folder).
    virtual void folderUnreadable(std::string_view /*path*/) {}
};

/// Walks the folder `root` depth first, in the order in which the file system
/// lists each folder; a folder is met before its contents, and `root` itself
/// is not an entry. Entry types come from the folder listing (a stat only
/// where the file system leaves the type unknown). Hidden entries (names
/// beginning with ".") are skipped; symbolic links, devices, pipes and
/// sockets are neither followed nor reported; a folder that cannot be opened
/// or listed is reported to folderUnreadable and the walk goes on. A `root`
/// that is missing or not a folder gives no entries besides that report. At most `maxOpenFolders`
/// folders are held open: deeper ones are reopened when the walk comes back to them, so memory and
/// descriptors grow with neither the size nor the depth of the tree beyond that bound (the path
/// itself aside).
void walkTree(const std::string& root, WalkVisitor& visitor, std::size_t maxOpenFolders = 64);

}  // namespace velmora
