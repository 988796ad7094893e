// SPDX-License-Identifier: GPL-3.0-or-later
#include "mounted_medium.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace velmora::testkit {

namespace fs = std::filesystem;

namespace {

/// Runs the shell command `command`; gives "" when it succeeds, else the
/// command and what it printed.
std::string shell(const std::string& command) {
    const RunResult result = run("/bin/sh", {"-c", command});
    if (result.exitCode == 0)
        return {};
    return "'" + command + "' failed (" + std::to_string(result.exitCode) + "): " + result.err +
           result.out;
}

std::string shellQuoted(const std::string& path) {
    std::string text = "'";
    for (const char c : path)
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

bool hasProgram(const std::string& name) {
    return shell("command -v " + name + " >/dev/null") == "";
}

bool isMountPoint(const fs::path& path) {
    struct stat self {};
    struct stat parent {};
    return ::stat(path.c_str(), &self) == 0 && ::stat(path.parent_path().c_str(), &parent) == 0 &&
           self.st_dev != parent.st_dev;
}

struct Recipe {
    std::string mkfs;                   ///< makes the file system in the image "$img"
    std::string mount;                  ///< mounts "$dev" (the image or its loop device) on "$dir"
    bool loop = false;                  ///< needs a loop device
    std::vector<std::string> programs;  ///< must be installed
    std::string packages;               ///< Debian packages that hold them
};

Recipe recipeFor(Medium medium) {
    switch (medium) {
        case Medium::tmpfs:
            return {};
        case Medium::ext4:
            return {"mkfs.ext4 -q -F \"$img\"",
                    "mount \"$dev\" \"$dir\"",
                    true,
                    {"mkfs.ext4"},
                    "e2fsprogs"};
        case Medium::xfs:
            return {"mkfs.xfs -q -f \"$img\"",
                    "mount \"$dev\" \"$dir\"",
                    true,
                    {"mkfs.xfs"},
                    "xfsprogs"};
        case Medium::btrfs:
            return {"mkfs.btrfs -q -f \"$img\"",
                    "mount \"$dev\" \"$dir\"",
                    true,
                    {"mkfs.btrfs"},
                    "btrfs-progs"};
        case Medium::exfat:
            return {"mkfs.exfat \"$img\" >/dev/null",
                    "mount.exfat-fuse \"$dev\" \"$dir\"",
                    true,
                    {"mkfs.exfat", "mount.exfat-fuse"},
                    "exfatprogs exfat-fuse"};
        case Medium::fat32:
            return {"mkfs.fat -F 32 \"$img\" >/dev/null",
                    "fusefat -o rw+ \"$dev\" \"$dir\"",
                    false,
                    {"mkfs.fat", "fusefat"},
                    "dosfstools fusefat"};
        case Medium::ntfs:
            return {"mkfs.ntfs -q -F -f \"$img\"",
                    "ntfs-3g \"$dev\" \"$dir\"",
                    false,
                    {"mkfs.ntfs", "ntfs-3g"},
                    "ntfs-3g"};
        case Medium::ntfsWindowsNames:
            return {"mkfs.ntfs -q -F -f \"$img\"",
                    "ntfs-3g -o windows_names \"$dev\" \"$dir\"",
                    false,
                    {"mkfs.ntfs", "ntfs-3g"},
                    "ntfs-3g"};
    }
    return {};
}

}  // namespace

const std::vector<Medium>& allMedia() {
    static const std::vector<Medium> media = {
        Medium::tmpfs, Medium::ext4,  Medium::xfs,  Medium::btrfs,
        Medium::exfat, Medium::fat32, Medium::ntfs, Medium::ntfsWindowsNames};
    return media;
}

std::string_view mediumName(Medium medium) {
    switch (medium) {
        case Medium::tmpfs:
            return "tmpfs";
        case Medium::ext4:
            return "ext4";
        case Medium::xfs:
            return "xfs";
        case Medium::btrfs:
            return "btrfs";
        case Medium::exfat:
            return "exfat";
        case Medium::fat32:
            return "fat32";
        case Medium::ntfs:
            return "ntfs";
        case Medium::ntfsWindowsNames:
            return "ntfs-windows-names";
    }
    return "?";
}

std::string whyNoMounts() {
    if (::geteuid() != 0)
        return "mounting file systems needs root";
    return {};
}

MountedMedium::MountedMedium(Medium medium, int megabytes) : mountPoint_(dir_ / "mnt") {
    fs::create_directory(mountPoint_);
    mounted_ = setUp(medium, megabytes);
    if (!mounted_)
        whyNot_ = std::string(mediumName(medium)) + " cannot be mounted here: " + whyNot_;
}

bool MountedMedium::setUp(Medium medium, int megabytes) {
    if (whyNot_ = whyNoMounts(); !whyNot_.empty())
        return false;
    const std::string size = std::to_string(megabytes);
    if (medium == Medium::tmpfs) {
        whyNot_ = shell("mount -t tmpfs -o size=" + size + "m tmpfs " + shellQuoted(mountPoint_));
        return whyNot_.empty();
    }
    const Recipe recipe = recipeFor(medium);
    for (const std::string& program : recipe.programs) {
        if (!hasProgram(program)) {
            whyNot_ = program + " is missing (Debian packages: " + recipe.packages + ")";
            return false;
        }
    }
    const bool fuse = recipe.mount.find("mount \"") != 0;
    if (fuse && ::access("/dev/fuse", R_OK | W_OK) != 0) {
        whyNot_ = "/dev/fuse is not usable";
        return false;
    }
    const fs::path image = dir_ / "image";
    std::string device = image.string();
    if (whyNot_ = shell("truncate -s " + size + "M " + shellQuoted(image) +
                        " && img=" + shellQuoted(image) + " && " + recipe.mkfs);
        !whyNot_.empty())
        return false;
    if (recipe.loop) {
        const RunResult loop =
            run("/bin/sh", {"-c", "losetup -f --show " + shellQuoted(image.string())});
        if (loop.exitCode != 0 || loop.out.empty()) {
            whyNot_ = "no loop device: " + loop.err;
            return false;
        }
        loopDevice_ = loop.out.substr(0, loop.out.find('\n'));
        device = loopDevice_;
    }
    whyNot_ = shell("dev=" + shellQuoted(device) + " dir=" + shellQuoted(mountPoint_) + " && " +
                    recipe.mount);
    if (!whyNot_.empty())
        return false;
    // FUSE drivers may return before the mount is visible.
    for (int i = 0; i < 100 && !isMountPoint(mountPoint_); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!isMountPoint(mountPoint_)) {
        whyNot_ = "the driver did not mount";
        return false;
    }
    return true;
}

MountedMedium::~MountedMedium() {
    if (isMountPoint(mountPoint_))
        unmount(mountPoint_);
    if (!loopDevice_.empty())
        shell("losetup -d " + shellQuoted(loopDevice_));
}

FaultyMount::FaultyMount(const fs::path& backing, const std::vector<std::string>& rules)
    : mountPoint_(dir_ / "mnt") {
    fs::create_directory(mountPoint_);
    const std::string program = FAULTYFS_PATH;
    if (program.empty()) {
        whyNot_ = "velmora-faultyfs was not built (libfuse3-dev is missing)";
        return;
    }
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        whyNot_ = "/dev/fuse is not usable";
        return;
    }
    if (whyNot_ = whyNoMounts(); !whyNot_.empty())
        return;
    std::vector<std::string> args = {program, backing.string(), mountPoint_.string()};
    args.insert(args.end(), rules.begin(), rules.end());
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    for (int i = 0; i < 250 && !isMountPoint(mountPoint_); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    mounted_ = isMountPoint(mountPoint_);
    if (!mounted_)
        whyNot_ = "velmora-faultyfs did not mount";
}

FaultyMount::~FaultyMount() {
    if (isMountPoint(mountPoint_))
        unmount(mountPoint_);
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

std::string bind(const fs::path& what, const fs::path& where) {
    if (std::string whyNot = whyNoMounts(); !whyNot.empty())
        return whyNot;
    return shell("mount --bind " + shellQuoted(what) + " " + shellQuoted(where));
}

bool bindReadOnly(const fs::path& what, const fs::path& where, std::string& whyNot) {
    if (whyNot = whyNoMounts(); !whyNot.empty())
        return false;
    whyNot = shell("mount --bind " + shellQuoted(what) + " " + shellQuoted(where) +
                   " && mount -o remount,bind,ro " + shellQuoted(where));
    return whyNot.empty();
}

void unmount(const fs::path& where) {
    if (!shell("umount " + shellQuoted(where)).empty())
        shell("umount -l " + shellQuoted(where));
}

}  // namespace velmora::testkit
