#pragma once

#include <filesystem>
#include <optional>

namespace velmora {

/// The outcome of a copy or move that never replaces anything.
enum class TransferResult {
    Done,              ///< the file is at the destination
    DestinationTaken,  ///< something exists at the destination; nothing was changed
    Failed,            ///< any other failure; nothing was left at the destination
};

/// Copies the regular file `from` to a new file `to`, created exclusively.
/// The data goes through copy_file_range (a reflink where the file system
/// offers one), or read and write where the kernel refuses that. The copy
/// keeps the source's modification time and permission bits. On failure the
/// partial copy is removed.
TransferResult copyFileNoReplace(const std::filesystem::path& from,
                                 const std::filesystem::path& to);

/// As above, for the new file `name` inside the folder open (for reading)
/// as `folder`; AT_FDCWD takes `name` as a path of its own.
TransferResult copyFileNoReplace(const std::filesystem::path& from, int folder,
                                 const std::filesystem::path& name);

/// Moves `from` to `to` without replacing anything there: one
/// renameat2(RENAME_NOREPLACE) within a file system; link and unlink where
/// the file system refuses that flag; an exclusive, synced copy followed by
/// removal of the source across file systems or where links are refused
/// too. At every moment the file exists complete in at least one place; on
/// failure the source stays and no partial copy is left.
TransferResult moveFileNoReplace(const std::filesystem::path& from,
                                 const std::filesystem::path& to);

/// As above, for the new name `name` inside the folder open (for reading)
/// as `folder`; AT_FDCWD takes `name` as a path of its own.
TransferResult moveFileNoReplace(const std::filesystem::path& from, int folder,
                                 const std::filesystem::path& name);

/// The move by hard link and unlink. Gives nothing, having changed nothing,
/// when the file system refuses hard links.
std::optional<TransferResult> moveByLink(const std::filesystem::path& from,
                                         const std::filesystem::path& to);

/// The move by exclusive copy, synced to disk before the source is removed.
TransferResult moveByCopy(const std::filesystem::path& from, const std::filesystem::path& to);

/// Fills the already created, empty file `destinationFd` with the content of
/// the regular file `from` and gives it the source's modification time and
/// permission bits. On false the destination may hold part of the data; the
/// caller, who created it, removes it.
bool copyFileInto(const std::filesystem::path& from, int destinationFd);

}  // namespace velmora
