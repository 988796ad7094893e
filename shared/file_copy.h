#pragma once

// The pieces of a copy or move that never replaces anything and never shows
// a partial file under a real name.

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <string>

#include "file_io.h"
#include "temporary_area.h"
#include "unique_destination.h"

namespace velmora {

/// Renames `fromName` in the folder `fromFolder` to `toName` in `toFolder`
/// without replacing anything there: one renameat2(RENAME_NOREPLACE), or a
/// hard link and an unlink where the file system does not know that flag.
/// Claimed, Taken (something is at `toName`; nothing changed) or Failed;
/// on Failed, errno is EXDEV when the file can only be copied there (another
/// file system, or one that knows neither way).
ClaimResult renameNoReplace(int fromFolder, const char* fromName, int toFolder, const char* toName);

/// Copies the `size` bytes of the regular file open as `in` into the empty
/// file open as `out`, both from offset 0. Only the data regions of `in`
/// (SEEK_DATA, SEEK_HOLE) are copied, with copy_file_range (a reflink where
/// the file system offers one) or read and write where the kernel refuses
/// that, so holes stay holes; `out` is then given the full length. False,
/// with errno set, on any failure, including a source shorter than `size`.
bool copyFileData(int in, int out, off_t size);

/// Gives `fd` the permission bits `mode` and the access and modification
/// times of `source`. Best effort: a file system that cannot hold them
/// (vfat) still keeps the data.
void keepAttributes(int fd, mode_t mode, const struct stat& source);

/// A new file written for a folder under no name at all until it is
/// complete: unnamed (O_TMPFILE) in that folder where the file system allows
/// that, else in a temporary area of this run inside it. Only publish()
/// gives it a name; a pending file dropped unpublished leaves nothing
/// behind, and one whose writer is killed leaves nothing or a leftover of the
/// temporary area, which the next run removes.
class PendingFile {
  public:
    /// Starts an empty file, mode 0600, for the folder open as `folder`,
    /// falling back on `area` (made for that folder). valid() tells whether
    /// that worked; errno tells why not.
    PendingFile(int folder, TemporaryArea& area);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    bool valid() const { return static_cast<bool>(fd_); }
    int fd() const { return fd_.get(); }

    /// Gives the complete file the name `name` in the folder, never
    /// replacing anything: Claimed, Taken (something is there), or Failed
    /// with errno set. Once claimed, the file is no longer pending.
    ClaimResult publish(const std::string& name);

  private:
    int folder_;
    int areaFolder_ = -1;
    std::string areaName_;  ///< empty for an unnamed file
    UniqueFd fd_;
    bool published_ = false;
};

/// Whether a copy is synced to disk before it is named: a move's copy is,
/// since its source goes next.
enum class CopySync { Unsynced, Synced };

/// Copies the `source.st_size` bytes of the regular file open as `in` (whose
/// status is `source`) into a pending file for the folder open as `folder`,
/// with `area` made for that folder, and gives it the permission bits
/// `mode` and the source's times. Once complete (and synced if asked), it
/// takes the first free name of `wanted` in that folder, never replacing
/// anything. Gives that name, or nothing with errno set, leaving nothing
/// behind.
std::optional<std::string> copyToFreeName(int in, const struct stat& source, mode_t mode,
                                          int folder, TemporaryArea& area,
                                          const std::string& wanted, CopySync sync);

}  // namespace velmora
