// SPDX-License-Identifier: GPL-3.0-or-later
// A pass-through file system for tests: it shows a backing folder at a mount
// point and fails chosen operations on chosen files, the way failing or odd
// media do.
//
//   velmora-faultyfs BACKING MOUNTPOINT [RULE...] [-- FUSE-OPTION...]
//
// A rule is OPERATION:TEXT:ERROR: every OPERATION (read, write, fsync, flush,
// create, rename, unlink, mkdir, open) on a path that contains TEXT fails with
// ERROR (EIO, ENOSPC, EDQUOT, EROFS, EPERM, ENODEV). An empty TEXT matches
// every path. Two words change what the medium offers: "no-links" refuses
// hard links with EPERM, "no-noreplace" refuses no-replace renames with
// EINVAL, as FAT and exFAT drivers do. The program stays in the foreground
// until the mount point is unmounted.

#define FUSE_USE_VERSION 31

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fuse3/fuse.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Rule {
    std::string operation;
    std::string text;
    int error = 0;
};

struct Settings {
    std::string backing;
    std::vector<Rule> rules;
    bool links = true;
    bool noReplace = true;
};

Settings settings;

/// The negated error of the first rule for `operation` on `path`, or 0.
int injected(std::string_view operation, const char* path) {
    for (const Rule& rule : settings.rules) {
        if (rule.operation == operation &&
            std::string_view(path).find(rule.text) != std::string_view::npos)
            return -rule.error;
    }
    return 0;
}

std::string backed(const char* path) {
    return settings.backing + path;
}

int result(int value) {
    return value < 0 ? -errno : value;
}

int doGetattr(const char* path, struct stat* status, fuse_file_info* file) {
    if (file != nullptr)
        return result(::fstat(static_cast<int>(file->fh), status));
    return result(::lstat(backed(path).c_str(), status));
}

int doReaddir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*,
              fuse_readdir_flags) {
    DIR* folder = ::opendir(backed(path).c_str());
    if (folder == nullptr)
        return -errno;
    while (const dirent* entry = ::readdir(folder)) {
        struct stat status {};
        status.st_ino = entry->d_ino;
        status.st_mode = static_cast<mode_t>(DTTOIF(entry->d_type));
        if (fill(buffer, entry->d_name, &status, 0, static_cast<fuse_fill_dir_flags>(0)) != 0)
            break;
    }
    ::closedir(folder);
    return 0;
}

int doOpen(const char* path, fuse_file_info* file) {
    if (const int error = injected("open", path))
        return error;
    const int fd = ::open(backed(path).c_str(), file->flags & ~O_NOFOLLOW);
    if (fd < 0)
        return -errno;
    file->fh = static_cast<uint64_t>(fd);
    return 0;
}

int doCreate(const char* path, mode_t mode, fuse_file_info* file) {
    if (const int error = injected("create", path))
        return error;
    const int fd = ::open(backed(path).c_str(), file->flags, mode);
    if (fd < 0)
        return -errno;
    file->fh = static_cast<uint64_t>(fd);
    return 0;
}

int doRead(const char* path, char* buffer, size_t size, off_t offset, fuse_file_info* file) {
    if (const int error = injected("read", path))
        return error;
    return result(static_cast<int>(::pread(static_cast<int>(file->fh), buffer, size, offset)));
}

int doWrite(const char* path, const char* buffer, size_t size, off_t offset, fuse_file_info* file) {
    if (const int error = injected("write", path))
        return error;
    return result(static_cast<int>(::pwrite(static_cast<int>(file->fh), buffer, size, offset)));
}

int doFsync(const char* path, int, fuse_file_info* file) {
    if (const int error = injected("fsync", path))
        return error;
    return result(::fsync(static_cast<int>(file->fh)));
}

int doFlush(const char* path, fuse_file_info*) {
    return injected("flush", path);
}

int doRelease(const char*, fuse_file_info* file) {
    ::close(static_cast<int>(file->fh));
    return 0;
}

int doRename(const char* from, const char* to, unsigned int flags) {
    if (const int error = injected("rename", to))
        return error;
    if ((flags & RENAME_NOREPLACE) != 0 && !settings.noReplace)
        return -EINVAL;
    return result(::renameat2(AT_FDCWD, backed(from).c_str(), AT_FDCWD, backed(to).c_str(), flags));
}

int doLink(const char* from, const char* to) {
    if (!settings.links)
        return -EPERM;
    return result(::link(backed(from).c_str(), backed(to).c_str()));
}

int doUnlink(const char* path) {
    if (const int error = injected("unlink", path))
        return error;
    return result(::unlink(backed(path).c_str()));
}

int doMkdir(const char* path, mode_t mode) {
    if (const int error = injected("mkdir", path))
        return error;
    return result(::mkdir(backed(path).c_str(), mode));
}

int doRmdir(const char* path) {
    return result(::rmdir(backed(path).c_str()));
}

int doSymlink(const char* target, const char* path) {
    return result(::symlink(target, backed(path).c_str()));
}

int doReadlink(const char* path, char* buffer, size_t size) {
    const ssize_t length = ::readlink(backed(path).c_str(), buffer, size - 1);
    if (length < 0)
        return -errno;
    buffer[length] = '\0';
    return 0;
}

int doTruncate(const char* path, off_t size, fuse_file_info* file) {
    if (file != nullptr)
        return result(::ftruncate(static_cast<int>(file->fh), size));
    return result(::truncate(backed(path).c_str(), size));
}

int doUtimens(const char* path, const timespec times[2], fuse_file_info* file) {
    if (file != nullptr)
        return result(::futimens(static_cast<int>(file->fh), times));
    return result(::utimensat(AT_FDCWD, backed(path).c_str(), times, AT_SYMLINK_NOFOLLOW));
}

int doChmod(const char* path, mode_t mode, fuse_file_info*) {
    return result(::chmod(backed(path).c_str(), mode));
}

int doChown(const char* path, uid_t user, gid_t group, fuse_file_info*) {
    return result(::lchown(backed(path).c_str(), user, group));
}

int doStatfs(const char* path, struct statvfs* status) {
    return result(::statvfs(backed(path).c_str(), status));
}

void* doInit(fuse_conn_info*, fuse_config* config) {
    // The tools must see every error at once, not a cached page.
    config->direct_io = 1;
    config->use_ino = 1;
    config->entry_timeout = 0;
    config->attr_timeout = 0;
    config->negative_timeout = 0;
    return nullptr;
}

const std::map<std::string, int> errorNames = {{"EIO", EIO},       {"ENOSPC", ENOSPC},
                                               {"EDQUOT", EDQUOT}, {"EROFS", EROFS},
                                               {"EPERM", EPERM},   {"ENODEV", ENODEV}};

bool parseRule(const std::string& text, Rule& rule) {
    const auto first = text.find(':');
    const auto last = text.rfind(':');
    if (first == std::string::npos || first == last)
        return false;
    const auto error = errorNames.find(text.substr(last + 1));
    if (error == errorNames.end())
        return false;
    rule = {text.substr(0, first), text.substr(first + 1, last - first - 1), error->second};
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("Usage: velmora-faultyfs BACKING MOUNTPOINT [RULE...] [-- FUSE-OPTION...]\n",
                   stderr);
        return 2;
    }
    settings.backing = argv[1];
    std::vector<char*> fuseArgs = {argv[0], argv[2], const_cast<char*>("-f")};
    int i = 3;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        const std::string word = argv[i];
        Rule rule;
        if (word == "no-links") {
            settings.links = false;
        } else if (word == "no-noreplace") {
            settings.noReplace = false;
        } else if (parseRule(word, rule)) {
            settings.rules.push_back(rule);
        } else {
            std::fprintf(stderr, "velmora-faultyfs: not a rule: %s\n", argv[i]);
            return 2;
        }
    }
    for (++i; i < argc; ++i)
        fuseArgs.push_back(argv[i]);

    fuse_operations operations{};
    operations.getattr = doGetattr;
    operations.readdir = doReaddir;
    operations.open = doOpen;
    operations.create = doCreate;
    operations.read = doRead;
    operations.write = doWrite;
    operations.fsync = doFsync;
    operations.flush = doFlush;
    operations.release = doRelease;
    operations.rename = doRename;
    operations.link = doLink;
    operations.unlink = doUnlink;
    operations.mkdir = doMkdir;
    operations.rmdir = doRmdir;
    operations.symlink = doSymlink;
    operations.readlink = doReadlink;
    operations.truncate = doTruncate;
    operations.utimens = doUtimens;
    operations.chmod = doChmod;
    operations.chown = doChown;
    operations.statfs = doStatfs;
    operations.init = doInit;
    return fuse_main(static_cast<int>(fuseArgs.size()), fuseArgs.data(), &operations, nullptr);
}
