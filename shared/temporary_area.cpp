// SPDX-License-Identifier: GPL-3.0-or-later
#include "temporary_area.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "uuid.h"

namespace velmora {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
constexpr int kCreateAttempts = 8;
/// The notes of notePlaceholder in an area: "SIZE\tNAME" lines, and
/// "-\tNAME" for a note taken back. Not a number, so no name of newName().
constexpr const char* kPlaceholderNotes = "placeholders";

UniqueFd openFolderIn(int parent, const char* name) {
    return UniqueFd(::openat(parent, name, kFolderFlags));
}

/// True when `name` in `parent` is still the folder open as `fd`.
bool stillNamed(int parent, const char* name, int fd) {
    struct stat named, opened;
    return ::fstatat(parent, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(fd, &opened) == 0 &&
           named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

/// Calls `visit` with the name of every entry of the folder open as
/// `folder`, "." and ".." aside. `visit` may remove the entry it is given.
void forEachEntry(int folder, const std::function<void(const char* name)>& visit) {
    const int fd = ::openat(folder, ".", kFolderFlags);
    DIR* listing = fd < 0 ? nullptr : ::fdopendir(fd);
    if (listing == nullptr) {
        if (fd >= 0)
            ::close(fd);
        return;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            visit(entry->d_name);
    }
    ::closedir(listing);
}

/// Removes every entry of the folder open as `folder` (its own files, and
/// empty folders a tool may have made).
void empty(int folder) {
    forEachEntry(folder, [folder](const char* name) {
        if (::unlinkat(folder, name, 0) != 0 && errno == EISDIR)
            ::unlinkat(folder, name, AT_REMOVEDIR);
    });
}

void lockWaiting(int fd) {
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

/// The whole of the regular file `name` in `folder`; empty when there is none.
std::string contentOf(int folder, const char* name) {
    std::string content;
    const UniqueFd fd(::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    char buffer[4096];
    for (ssize_t got; fd && (got = ::read(fd.get(), buffer, sizeof buffer)) > 0;)
        content.append(buffer, std::size_t(got));
    return content;
}

/// Removes from `target` the placeholders that the dead area open as `area`
/// noted and that are still empty: their run died before it renamed the
/// file over them.
void removeEmptyPlaceholders(int target, int area) {
    const std::string notes = contentOf(area, kPlaceholderNotes);
    std::map<std::string, bool> removable;
    std::string_view rest = notes;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        // A line cut off by the kill names nothing for sure.
        if (end == std::string_view::npos)
            break;
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            continue;
        // An empty file due there may be the real one; a withdrawn note's
        // name is another's.
        const std::string_view size = line.substr(0, tab);
        removable[std::string(line.substr(tab + 1))] = size != "0" && size != "-";
    }
    for (const auto& [name, remove] : removable) {
        struct stat info;
        if (remove && ::fstatat(target, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_size == 0) {
            ::unlinkat(target, name.c_str(), 0);
        }
    }
}

}  // namespace

TemporaryArea::~TemporaryArea() {
    if (!own_)
        return;
    placeholders_.close();
    empty(own_.get());
    ::unlinkat(partial_.get(), name_.c_str(), AT_REMOVEDIR);
    own_.close();
    ::unlinkat(target_, std::string(kPartialFolder).c_str(), AT_REMOVEDIR);
}

int TemporaryArea::folder() {
    std::lock_guard guard(lock_);
    if (!tried_) {
        tried_ = true;
        error_ = create() ? 0 : errno;
    }
    errno = error_;
    return own_.get();
}

void TemporaryArea::withdrawPlaceholder(const std::string& name) {
    std::lock_guard guard(lock_);
    if (placeholders_)
        writeAll(placeholders_.get(), "-\t" + name + '\n');
}

std::string TemporaryArea::newName() {
    return std::to_string(next_.fetch_add(1, std::memory_order_relaxed));
}

bool TemporaryArea::notePlaceholder(const std::string& name, off_t size) {
    const int own = folder();
    if (own < 0)
        return false;
    std::lock_guard guard(lock_);
    if (!placeholders_) {
        placeholders_ = UniqueFd(::openat(
            own, kPlaceholderNotes, O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!placeholders_)
            return false;
    }
    const std::string line = std::to_string(size) + '\t' + name + '\n';
    return writeAll(placeholders_.get(), line);
}

bool TemporaryArea::create() {
    const std::string partialName(kPartialFolder);
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        // Another run may remove an empty kPartialFolder at any moment: then
        // everything below fails with ENOENT and starts again.
        if (::mkdirat(target_, partialName.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        UniqueFd partial = openFolderIn(target_, partialName.c_str());
        if (!partial) {
            if (errno == ENOENT)
                continue;
            return false;
        }
        const std::string name = randomUuidText();
        if (::mkdirat(partial.get(), name.c_str(), 0700) != 0) {
            if (errno == ENOENT)
                continue;
            return false;
        }
        UniqueFd own = openFolderIn(partial.get(), name.c_str());
        if (!own)
            continue;
        // A run cleaning up may have taken the new folder for a leftover
        // between its making and this lock, and removed it.
        lockWaiting(own.get());
        if (!stillNamed(partial.get(), name.c_str(), own.get()))
            continue;
        partial_ = std::move(partial);
        own_ = std::move(own);
        name_ = name;
        return true;
    }
    errno = EAGAIN;
    return false;
}

void TemporaryArea::removeLeftovers(int folder) {
    const std::string partialName(kPartialFolder);
    const UniqueFd partial = openFolderIn(folder, partialName.c_str());
    if (!partial)
        return;
    forEachEntry(partial.get(), [&partial, folder](const char* name) {
        const UniqueFd area = openFolderIn(partial.get(), name);
        if (!area || ::flock(area.get(), LOCK_EX | LOCK_NB) != 0 ||
            !stillNamed(partial.get(), name, area.get())) {
            return;  // alive, or not an area
        }
        removeEmptyPlaceholders(folder, area.get());
        empty(area.get());
        ::unlinkat(partial.get(), name, AT_REMOVEDIR);
    });
    ::unlinkat(folder, partialName.c_str(), AT_REMOVEDIR);
}

}  // namespace velmora
