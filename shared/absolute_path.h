// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/// `argument` as an absolute path without a trailing "/": a relative one is
/// joined to the current folder, and "." names and repeated "/" are dropped.
/// ".." names stay, since the folder before one may be a link that leads
/// elsewhere. None when `argument` is empty or the current folder cannot be
/// read.
std::optional<std::string> absolutePath(std::string_view argument);

/// The SOURCE and TMP arguments of a tool, each made absolute by absolutePath.
struct JobFolderArguments {
    std::string source;
    std::string tmp;
};

/// How every tool reads its SOURCE and TMP. Gives nothing when either is
/// empty (or the current folder cannot be read); the tool then ends with
/// ToolExit::JobFilesUnreadable before touching anything.
std::optional<JobFolderArguments> resolveJobFolders(std::string_view source, std::string_view tmp);

}  // namespace velmora
