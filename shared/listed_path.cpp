// SPDX-License-Identifier: GPL-3.0-or-later
#include "listed_path.h"

#include <fcntl.h>

#include <cerrno>
#include <climits>

namespace velmora {

namespace {

constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;

}  // namespace

ListedPath splitListedPath(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {".", path};
    return {slash == 0 ? path.substr(0, 1) : path.substr(0, slash), path.substr(slash + 1)};
}

UniqueFd openFolderPath(std::string_view path) {
    if (path.size() < PATH_MAX)
        return UniqueFd(::open(std::string(path).c_str(), kFolderFlags));
    UniqueFd folder(::open(path.front() == '/' ? "/" : ".", kFolderFlags));
    std::size_t at = 0;
    while (folder) {
        while (at < path.size() && path[at] == '/')
            ++at;
        if (at == path.size())
            break;
        // The longest piece that ends at a "/" (or at the end) and fits one call.
        std::size_t end = path.size();
        if (end - at >= PATH_MAX) {
            end = path.rfind('/', at + PATH_MAX - 1);
            if (end == std::string_view::npos || end <= at) {
                errno = ENAMETOOLONG;
                return UniqueFd();
            }
        }
        folder = UniqueFd(
            ::openat(folder.get(), std::string(path.substr(at, end - at)).c_str(), kFolderFlags));
        at = end;
    }
    return folder;
}

int FolderCache::open(std::string_view folder) {
    if (!filled_ || folder != path_) {
        path_ = folder;
        fd_ = openFolderPath(folder);
        error_ = errno;
        filled_ = true;
    }
    errno = error_;
    return fd_.get();
}

}  // namespace velmora
