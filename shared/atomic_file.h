// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string_view>

namespace velmora {

/// Replaces `target` with `content` in one step: the bytes go to a fresh
/// temporary file of this call's own in the target's folder, which is then
/// renamed over `target`. A reader sees the old or the new content whole,
/// never an empty or partial file. Gives false, with errno set, on any failure; the
/// temporary file never stays behind. The new file has mode 0644.
bool replaceFileAtomically(const std::filesystem::path& target, std::string_view content);

}  // namespace velmora
