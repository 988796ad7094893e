// SPDX-License-Identifier: GPL-3.0-or-later
#include "sort_settings.h"

#include <algorithm>

#include "absolute_path.h"
#include "decimal.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kMostFolders = 8;

char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

std::int64_t folderCount(std::string_view text) {
    return std::clamp<std::int64_t>(parseDecimalInteger(text).value_or(1), 1, kMostFolders);
}

}  // namespace

bool isCopyMode(std::string_view mode) {
    constexpr std::string_view kCopy = "COPY";
    return mode.size() == kCopy.size() &&
           std::equal(mode.begin(), mode.end(), kCopy.begin(),
                      [](char a, char b) { return asciiUpper(a) == b; });
}

std::optional<SortSettings> parseSortArguments(ToolArguments args) {
    if (args.size() != 6)
        return std::nullopt;
    SortSettings settings;
    if (const auto folders = resolveJobFolders(args[0], args[1])) {
        settings.source = folders->source;
        settings.tmp = folders->tmp;
    }
    settings.copy = isCopyMode(args[2]);
    settings.workers = std::max<std::int64_t>(parseDecimalInteger(args[3]).value_or(4), 1);
    settings.oddFolderCount = folderCount(args[4]);
    settings.evenFolderCount = folderCount(args[5]);
    return settings;
}

}  // namespace velmora
