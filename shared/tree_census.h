// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a run left in a folder tree, for tests that check by content that
// every photo is there whole, as often as it should be, and nothing else.

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace velmora::testkit {

/// How often each content occurs among the regular files below `root`.
std::map<std::string, int> contentCounts(const std::filesystem::path& root);

/// The paths below `root`, relative to it, of what a run must not leave
/// behind: its temporary folders and files (names beginning ".velmora") and
/// empty files (placeholders; the photos of these tests are never empty).
std::vector<std::string> leftovers(const std::filesystem::path& root);

/// A camera card's photo tree of `count` (or one more) numbered photos with distinct
/// contents of a few bytes to `largest` bytes: DCIM/100CANON and
/// DCIM/101CANON with the same file names, a nested trip, a few PNGs, and
/// IMG_1.JPG and img_1.jpg in two folders. Keys are paths relative to the
/// tree's root; the same `seed` gives the same tree.
std::map<std::string, std::string> cameraTree(int count, std::size_t largest, std::uint32_t seed);

/// Writes every file of `tree` below `root`.
void writeTree(const std::filesystem::path& root, const std::map<std::string, std::string>& tree);

/// A time long past, when a camera took the photos of a test tree.
inline constexpr std::time_t kShotAt = 1622548800;  // 2021-06-01 12:00 UTC

/// Gives every regular file below `root` `when` as its access and
/// modification time.
void setTimesBelow(const std::filesystem::path& root, std::time_t when);

/// The regular files below `root`, relative to it, whose modification time
/// is more than two seconds (FAT's step) from `when`.
std::vector<std::string> filesNotFrom(const std::filesystem::path& root, std::time_t when);

}  // namespace velmora::testkit
