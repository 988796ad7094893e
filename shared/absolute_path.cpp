// SPDX-License-Identifier: GPL-3.0-or-later
#include "absolute_path.h"

#include <unistd.h>

#include <climits>

namespace velmora {

std::optional<std::string> absolutePath(std::string_view argument) {
    if (argument.empty())
        return std::nullopt;
    std::string joined;
    if (argument.front() != '/') {
        char current[PATH_MAX];
        if (::getcwd(current, sizeof current) == nullptr)
            return std::nullopt;
        joined = current;
        joined += '/';
    }
    joined += argument;

    std::string path;
    std::size_t at = 0;
    while (at < joined.size()) {
        std::size_t end = joined.find('/', at);
        if (end == std::string::npos)
            end = joined.size();
        const std::string_view name = std::string_view(joined).substr(at, end - at);
        if (!name.empty() && name != ".") {
            path += '/';
            path += name;
        }
        at = end + 1;
    }
    return path.empty() ? "/" : path;
}

std::optional<JobFolderArguments> resolveJobFolders(std::string_view source, std::string_view tmp) {
    auto sourcePath = absolutePath(source);
    auto tmpPath = absolutePath(tmp);
    if (!sourcePath || !tmpPath)
        return std::nullopt;
    return JobFolderArguments{std::move(*sourcePath), std::move(*tmpPath)};
}

}  // namespace velmora
