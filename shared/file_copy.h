// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The pieces of a copy or move that never replaces anything and never shows
// a partial file under a real name.

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <string>

#include "failure_reason.h"
#include "file_io.h"
#include "publish_folder.h"

namespace velmora {

/// Copies the `size` bytes of the regular file open as `in` into the empty
/// file open as `out`, both from offset 0, with copy_file_range (a reflink
/// where the file system offers one) or read and write where the kernel
/// refuses that. Only a sparse source (fewer blocks allocated than its size
/// needs) is copied by its data regions (SEEK_DATA, SEEK_HOLE), so that
/// holes stay holes; any other is read whole, whatever a file system's hole
/// map says. False, with errno set, on any failure, including a source
/// shorter than `size`.
bool copyFileData(int in, int out, off_t size);

/// True when the first `size` bytes of the files open as `a` and `b` are the
/// same, read from offset 0. False, with errno set (0 for a difference), when
/// they differ or cannot be read.
bool sameContent(int a, int b, off_t size);

/// Gives `fd` the permission bits `mode` and the access and modification
/// times of `source`. Best effort: a file system that cannot hold them
/// (FAT and exFAT refuse permission bits and owners) still keeps the data.
void keepAttributes(int fd, mode_t mode, const struct stat& source);

/// A new file written for a folder under no name at all until it is
/// complete: unnamed (O_TMPFILE) in that folder where its file system allows
/// that, else in the folder's temporary area. Only publish() gives it a name;
/// a pending file dropped unpublished leaves nothing behind, and one whose
/// writer is killed leaves nothing, or a leftover of the temporary area (and
/// at most an empty placeholder) that the next run removes.
class PendingFile {
  public:
    /// Starts an empty file, mode 0600, open for reading and writing, for
    /// `folder`. valid() tells whether that worked; errno tells why not.
    explicit PendingFile(PublishFolder& folder);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    bool valid() const { return static_cast<bool>(fd_); }
    int fd() const { return fd_.get(); }

    /// Gives the complete file the name `name` in the folder, never
    /// replacing anything, and closes it: Claimed, Taken (something is
    /// there; the file stays pending), or Failed with errno set. A file whose
    /// close reports an error (a write that never reached the medium) is
    /// never left under the name. Once claimed, the file is no longer
    /// pending.
    ClaimResult publish(const std::string& name);

  private:
    PublishFolder& folder_;
    std::string areaName_;  ///< empty for an unnamed file
    UniqueFd fd_;
    off_t size_ = 0;  ///< an area file's size, taken as it is closed
    bool published_ = false;
};

/// How much a copy is checked before it is named.
enum class CopyCheck {
    None,
    /// Synced to disk, then read back and compared with the source: a move's
    /// copy, whose source goes next.
    SyncedAndCompared,
};

/// What copyToFreeName did: the name the copy took, or why there is none.
struct CopyOutcome {
    std::optional<std::string> name;
    Failure failure;
};

/// Copies the `source.st_size` bytes of the regular file open as `in` (whose
/// status is `source`) into a pending file for `folder`, gives it the
/// permission bits `mode` and the source's times, checks it as `check` says,
/// and once complete gives it the first free name of `wanted` there, never
/// replacing anything. Leaves nothing behind when it fails.
CopyOutcome copyToFreeName(int in, const struct stat& source, mode_t mode, PublishFolder& folder,
                           const std::string& wanted, CopyCheck check);

/// The failure of a file that could not be put under a name in `folder`
/// with the system error `error`: a name too long or refused by the file
/// system says so; anything else as failureFromErrno.
Failure nameFailure(PublishFolder& folder, int error);

}  // namespace velmora
