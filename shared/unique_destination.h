// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace velmora {

/// The last number of the free-name sequence "base (1).ext", "base (2).ext", …
inline constexpr int kLastFreeNumber = 999999;

/// Gives a path at which nothing exists at the moment of the test: `wanted`
/// itself when it is free, else the first free "base (i).ext" in the same
/// folder for i = 1 to 999999 ("base (i)" when the name has no extension),
/// else an untested random upper-case UUID name with the same extension.
/// Anything a path resolves to counts as existing (file, folder, link
/// whose target exists).
std::filesystem::path uniqueDestination(const std::filesystem::path& wanted);

/// The outcome of one attempt to take a destination name.
enum class ClaimResult {
    Claimed,  ///< the name is now ours
    Taken,    ///< something got there first; the next name may do
    Failed,   ///< a real failure; no other name would help
};

/// Walks the names of `uniqueDestination` inside the folder open as
/// `folder` (AT_FDCWD: the current one), from the first free one, and calls
/// `attempt` on each until it claims one, moving on whenever the name has
/// been taken in the meantime. `wanted` and every name given to `attempt`
/// and given back are relative to that folder. A numbered name that would be
/// longer than the folder's file system takes (or that it refuses with
/// ENAMETOOLONG) has its base shortened, never its number or extension.
/// Gives the claimed name, or nothing, with errno set, when an attempt
/// failed for good. Safe for many callers racing for one name. After
/// "base (`lastNumber`).ext" comes a random UUID name (tests set a low one).
std::optional<std::string> claimFreeName(
    int folder, const std::string& wanted,
    const std::function<ClaimResult(const std::string&)>& attempt,
    int lastNumber = kLastFreeNumber);

/// Calls `visit` on the names of the free-name sequence of `wanted` inside
/// the folder open as `folder` that something holds, in order: `wanted`,
/// then "base (1).ext" and so on, until the first free one, or until `visit`
/// gives true. Gives the name `visit` chose, if any.
std::optional<std::string> findTakenName(int folder, const std::string& wanted,
                                         const std::function<bool(const std::string&)>& visit);

}  // namespace velmora
