#include "sort_settings.h"

#include <algorithm>
#include <system_error>

#include "decimal.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kMostFolders = 8;

char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

fs::path absoluteFolder(std::string_view text) {
    std::error_code error;
    fs::path folder = fs::absolute(fs::path(text), error);
    return error ? fs::path(text) : folder;
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
    settings.source = absoluteFolder(args[0]);
    settings.tmp = absoluteFolder(args[1]);
    settings.copy = isCopyMode(args[2]);
    settings.workers = std::max<std::int64_t>(parseDecimalInteger(args[3]).value_or(4), 1);
    settings.oddFolderCount = folderCount(args[4]);
    settings.evenFolderCount = folderCount(args[5]);
    return settings;
}

}  // namespace velmora
