// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Giving a finished file its name in a folder without ever replacing
// anything, on any file system that can create and rename files: the
// strongest way the folder's file system takes, learnt while the run goes.

#include <sys/types.h>

#include <atomic>
#include <string>

#include "temporary_area.h"
#include "unique_destination.h"

namespace velmora {

/// The ways a file is put under its name in a folder, strongest first. Each
/// one later in the list is taken only when the file system refuses the ones
/// before it.
enum class PublishWay : int {
    /// Written unnamed in the folder (O_TMPFILE) and linked in once complete:
    /// a killed writer leaves nothing at all.
    UnnamedLink,
    /// Written in the temporary area and renamed in with RENAME_NOREPLACE.
    RenameNoReplace,
    /// Written in the temporary area, hard-linked in, then unlinked there.
    LinkThenUnlink,
    /// An empty placeholder made under the name with O_EXCL and noted in the
    /// temporary area, then a plain rename of the complete file over it (FAT,
    /// exFAT). A killed run may leave an empty placeholder, which the next
    /// run removes; never a partial file under a real name.
    Placeholder,
};

/// A folder that finished files are put into, with its temporary area and
/// what its file system has shown that it takes. Safe to use from many
/// threads: a refusal learnt by one holds for all.
class PublishFolder {
  public:
    /// For the folder open as `folder`, which must outlive this. Ways
    /// stronger than `strongest` are never tried (tests start lower).
    explicit PublishFolder(int folder, PublishWay strongest = PublishWay::UnnamedLink);
    PublishFolder(const PublishFolder&) = delete;
    PublishFolder& operator=(const PublishFolder&) = delete;

    int fd() const { return folder_; }
    /// The file system the folder is on.
    dev_t device() const { return device_; }
    TemporaryArea& area() { return area_; }

    /// The strongest way not yet refused here.
    PublishWay way() const { return static_cast<PublishWay>(way_.load()); }

    /// Whether new files for this folder can be written unnamed and linked in
    /// (PublishWay::UnnamedLink). The first call finds out, with an unnamed
    /// file linked in under a hidden name and removed at once.
    bool takesUnnamedFiles();

    /// Links the complete unnamed file open as `fd`, made in this folder, in
    /// under `name`: Claimed, Taken (something is there; nothing changed) or
    /// Failed with errno set.
    ClaimResult linkUnnamed(int fd, const std::string& name);

    /// Gives the file `fromName` in the folder open as `fromFolder` the name
    /// `name` here, never replacing anything, the strongest way that works;
    /// `size` is the file's size, noted with a placeholder. Claimed, Taken,
    /// or Failed with errno set: EXDEV when the file lies on another file
    /// system and can only be copied here.
    ClaimResult moveIn(int fromFolder, const char* fromName, const std::string& name, off_t size);

    /// After a move or a new file failed to take `name` with `error` (ENOENT,
    /// EPERM, EINVAL or EILSEQ, which file systems give for names they do not
    /// take), true when the file system does take a plain name here: the
    /// failure was the name's own.
    bool refusedOnlyTheName(int error);

  private:
    /// Drops `way` (and any stronger one) once the file system has refused it.
    void refuse(PublishWay way);
    /// True when the file system really refuses `way` here, tried with plain
    /// names in the temporary area; false when it takes it, or cannot tell.
    bool refusesWay(PublishWay way);
    ClaimResult renameNoReplace(int fromFolder, const char* fromName, const std::string& name);
    ClaimResult linkThenUnlink(int fromFolder, const char* fromName, const std::string& name);
    ClaimResult placeholderThenRename(int fromFolder, const char* fromName, const std::string& name,
                                      off_t size);

    const int folder_;
    dev_t device_ = 0;
    TemporaryArea area_;
    std::atomic<int> way_;
    /// Whether unnamed files work here: -1 not yet known, 0 no, 1 yes.
    std::atomic<int> unnamed_;
};

}  // namespace velmora
