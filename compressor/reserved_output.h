#pragma once

#include <filesystem>
#include <optional>

namespace velmora {

/// Takes the first free name for `wanted` by the free-name rule of both
/// workers, creating it as an empty file exclusively (O_EXCL), so that no
/// other worker can take it; on a clash it goes on to the next name. Gives
/// the reserved path, or nothing when no file can be created there (for
/// example, the folder is missing).
std::optional<std::filesystem::path> reserveOutput(const std::filesystem::path& wanted);

/// Replaces what lies at the reserved path `output` with a byte copy of the
/// regular file `source`, keeping the name reserved throughout. On failure
/// `output` is removed, so nothing partial stays behind.
bool copyIntoReserved(const std::filesystem::path& source, const std::filesystem::path& output);

/// True when `file` is a non-empty file that starts like a JPEG stream.
bool holdsJpeg(const std::filesystem::path& file);

}  // namespace velmora
