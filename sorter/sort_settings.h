// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "tool_entry.h"

namespace velmora {

/// The run settings of one sort, fixed once the command line is read.
struct SortSettings {
    std::filesystem::path source;      ///< the destination folders are made in here
    std::filesystem::path tmp;         ///< the job folder: "files.txt" in, "status.txt" out
    bool copy = false;                 ///< MODE upper-cases to "COPY"; anything else moves
    std::int64_t workers = 4;          ///< most transfers in flight, at least 1
    std::int64_t oddFolderCount = 1;   ///< 1 to 8
    std::int64_t evenFolderCount = 1;  ///< 1 to 8
};

/// True when `mode` upper-cases to exactly "COPY" by the full Unicode rule.
/// Only ASCII letters upper-case to C, O, P and Y, so an ASCII
/// case-insensitive comparison gives the same answer.
bool isCopyMode(std::string_view mode);

/// Reads SOURCE TMP MODE WORKERS ODD EVEN (the arguments after the program
/// name). The folders are made absolute by resolveJobFolders, and both are
/// left empty when either argument is empty;
/// numbers that are not decimal integers take their defaults (WORKERS 4,
/// ODD and EVEN 1), then WORKERS is raised to at least 1 and ODD and EVEN
/// are clamped to 1..8. Gives nothing unless there are exactly six.
std::optional<SortSettings> parseSortArguments(ToolArguments args);

}  // namespace velmora
