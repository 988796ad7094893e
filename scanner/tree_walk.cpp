// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace velmora {

namespace {

constexpr int folderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

/// One folder on the way down from the root.
struct Level {
    DIR* dir = nullptr;          // null while closed to stay under the open-folder bound
    long nextAt = 0;             // listing position after the entry read last
    long childAt = 0;            // listing position of the subfolder being walked
    dev_t device = 0;            // identity of the folder, checked when it is reopened
    ino_t inode = 0;             //
    std::size_t pathLength = 0;  // length of the folder's path in `path_`
};

class TreeWalker {
  public:
    TreeWalker(const std::string& root, WalkVisitor& visitor, std::size_t maxOpen)
        : root_(root), visitor_(visitor), maxOpen_(std::max<std::size_t>(maxOpen, 1)) {}

    ~TreeWalker() {
        for (const Level& level : levels_) {
            if (level.dir != nullptr)
                ::closedir(level.dir);
        }
    }

    void run() {
        const int fd = ::open(root_.c_str(), folderFlags);
        if (fd < 0) {
            visitor_.folderUnreadable(root_);
            return;
        }
        path_ = root_ == "/" ? "" : root_;
        push(fd);
        while (!levels_.empty()) {
            Level& level = levels_.back();
            errno = 0;
            const dirent* entry = level.dir != nullptr ? ::readdir(level.dir) : nullptr;
            if (entry == nullptr) {
                if (level.dir != nullptr && errno != 0)
                    reportUnreadable(level.pathLength);
                pop();
                continue;
            }
            // An entry's listing position is where the one before it ended.
            const long at = level.nextAt;
            level.nextAt = entry->d_off;
            visit(*entry, at);
        }
    }

  private:
    /// Handles `entry`, read at listing position `at` of the deepest folder.
    void visit(const dirent& entry, long at) {
        const std::string_view name = entry.d_name;
        if (name[0] == '.')
            return;
        Level& level = levels_.back();
        const int folderFd = ::dirfd(level.dir);
        const unsigned char type =
            entry.d_type == DT_UNKNOWN ? typeFromStat(folderFd, entry.d_name) : entry.d_type;
        if (type != DT_DIR && type != DT_REG)
            return;

        path_.resize(level.pathLength);
        path_ += '/';
        path_ += name;
        const WalkEntry walkEntry{folderFd, name, path_};
        if (type == DT_REG) {
            visitor_.visitFile(walkEntry);
            return;
        }
        if (!visitor_.enterFolder(walkEntry))
            return;
        const int fd = ::openat(folderFd, entry.d_name, folderFlags | O_NOFOLLOW);
        if (fd < 0) {
            reportUnreadable(path_.size());
            return;
        }
        level.childAt = at;
        push(fd);
    }

    /// Reports the folder whose path is the first `length` bytes of `path_`.
    void reportUnreadable(std::size_t length) {
        visitor_.folderUnreadable(length == 0 ? std::string_view("/")
                                              : std::string_view(path_).substr(0, length));
    }

    static unsigned char typeFromStat(int folderFd, const char* name) {
        struct stat status;
        if (::fstatat(folderFd, name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            return DT_UNKNOWN;
        if (S_ISDIR(status.st_mode))
            return DT_DIR;
        if (S_ISREG(status.st_mode))
            return DT_REG;
        return DT_UNKNOWN;
    }

    /// Enters the folder open at `fd`, whose path is `path_`.
    void push(int fd) {
        DIR* dir = ::fdopendir(fd);
        if (dir == nullptr) {
            ::close(fd);
            reportUnreadable(path_.size());
            return;
        }
        if (levels_.size() - firstOpen_ >= maxOpen_)
            closeShallowest();
        levels_.push_back(Level{dir, 0, 0, 0, 0, path_.size()});
    }

    /// Leaves the deepest folder, reopening its parent when that was closed.
    void pop() {
        const Level done = levels_.back();
        levels_.pop_back();
        if (!levels_.empty() && levels_.size() - 1 < firstOpen_) {
            firstOpen_ = levels_.size() - 1;
            reopen(levels_.back(), done.dir != nullptr ? ::dirfd(done.dir) : -1);
        }
        if (done.dir != nullptr)
            ::closedir(done.dir);
    }

    void closeShallowest() {
        Level& level = levels_[firstOpen_++];
        struct stat status;
        if (::fstat(::dirfd(level.dir), &status) == 0) {
            level.device = status.st_dev;
            level.inode = status.st_ino;
        }
        ::closedir(level.dir);
        level.dir = nullptr;
    }

    /// Opens `level` again, through ".." of its open child `childFd` when
    /// there is one, else along its path, and places its listing right after
    /// the subfolder it was in. It stays closed, and is then left, when
    /// neither way leads to the same folder or the subfolder is gone.
    void reopen(Level& level, int childFd) {
        int fd = childFd >= 0 ? ::openat(childFd, "..", folderFlags) : -1;
        if (!isFolder(fd, level)) {
            if (fd >= 0)
                ::close(fd);
            fd = openAlongPath(level.pathLength);
            if (!isFolder(fd, level)) {
                if (fd >= 0)
                    ::close(fd);
                return;
            }
        }
        level.dir = ::fdopendir(fd);
        if (level.dir == nullptr) {
            ::close(fd);
        } else if (!skipPastChild(level)) {
            ::closedir(level.dir);
            level.dir = nullptr;
        }
    }

    /// Moves the listing of `level` just past its subfolder on the walk: by
    /// its saved position when the file system keeps those across opens, else
    /// by reading the listing again up to that subfolder's name.
    bool skipPastChild(Level& level) const {
        const std::size_t start = level.pathLength + 1;
        const std::string child = path_.substr(start, path_.find('/', start) - start);
        ::seekdir(level.dir, level.childAt);
        const dirent* entry = ::readdir(level.dir);
        if (entry == nullptr || child != entry->d_name) {
            ::rewinddir(level.dir);
            while ((entry = ::readdir(level.dir)) != nullptr && child != entry->d_name) {
            }
        }
        if (entry == nullptr)
            return false;
        level.nextAt = entry->d_off;
        return true;
    }

    static bool isFolder(int fd, const Level& level) {
        struct stat status;
        return fd >= 0 && ::fstat(fd, &status) == 0 && status.st_dev == level.device &&
               status.st_ino == level.inode;
    }

    /// Opens the folder whose path is the first `length` bytes of `path_`, one
    /// name at a time from the root, following no link on the way.
    int openAlongPath(std::size_t length) const {
        int fd = ::open(root_.c_str(), folderFlags);
        std::size_t at = levels_.front().pathLength + 1;
        while (fd >= 0 && at < length) {
            const std::size_t end = std::min(path_.find('/', at), length);
            const std::string name = path_.substr(at, end - at);
            const int child = ::openat(fd, name.c_str(), folderFlags | O_NOFOLLOW);
            ::close(fd);
            fd = child;
            at = end + 1;
        }
        return fd;
    }

    const std::string& root_;
    WalkVisitor& visitor_;
    const std::size_t maxOpen_;
    std::vector<Level> levels_;
    std::size_t firstOpen_ = 0;  // levels below this index are closed
    std::string path_;           // path of the entry met last; begins with every level's path
};

}  // namespace

void walkTree(const std::string& root, WalkVisitor& visitor, std::size_t maxOpenFolders) {
    TreeWalker(root, visitor, maxOpenFolders).run();
}

}  // namespace velmora
