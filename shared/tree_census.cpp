// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree_census.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "test_support.h"

namespace velmora::testkit {

namespace fs = std::filesystem;

std::map<std::string, int> contentCounts(const fs::path& root) {
    std::map<std::string, int> counts;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file() && !entry.is_symlink())
            ++counts[readFile(entry.path())];
    }
    return counts;
}

std::vector<std::string> leftovers(const fs::path& root) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = entry.path().filename();
        if (name.rfind(".velmora", 0) == 0 ||
            (entry.is_regular_file() && !entry.is_symlink() && entry.file_size() == 0))
            found.push_back(fs::relative(entry.path(), root));
    }
    return found;
}

std::map<std::string, std::string> cameraTree(int count, std::size_t largest, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> size(16, largest);
    std::map<std::string, std::string> tree;
    const auto add = [&](const std::string& path) {
        std::string content = path + "#" + std::to_string(tree.size()) + "#";
        content.resize(std::max(content.size(), size(random)));
        for (std::size_t i = content.size() / 2; i < content.size(); ++i)
            content[i] = static_cast<char>(random());
        tree[path] = content;
    };
    add("A/IMG_1.JPG");
    add("B/img_1.jpg");
    for (int i = 1; static_cast<int>(tree.size()) < count; ++i) {
        const std::string number = std::to_string(1000 + i).substr(1);
        switch (i % 4) {
            case 0:
                add("DCIM/100CANON/IMG_" + number + ".JPG");
                break;
            case 1:
                add("DCIM/101CANON/IMG_" + number + ".JPG");
                add("DCIM/100CANON/IMG_" + number + ".JPG");
                break;
            case 2:
                add("Trip 2024/Day " + std::to_string(i % 3) + "/beach " + std::to_string(i) +
                    ".jpg");
                break;
            default:
                add("Screens/shot_" + std::to_string(i) + ".png");
                break;
        }
    }
    return tree;
}

void writeTree(const fs::path& root, const std::map<std::string, std::string>& tree) {
    for (const auto& [path, content] : tree)
        writeFile(root / path, content);
}

void setTimesBelow(const fs::path& root, std::time_t when) {
    const struct timespec times[2] = {{when, 0}, {when, 0}};
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file())
            ::utimensat(AT_FDCWD, entry.path().c_str(), times, AT_SYMLINK_NOFOLLOW);
    }
}

std::vector<std::string> filesNotFrom(const fs::path& root, std::time_t when) {
    std::vector<std::string> off;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        struct stat info;
        if (entry.is_regular_file() && ::stat(entry.path().c_str(), &info) == 0 &&
            std::abs(info.st_mtim.tv_sec - when) > 2)
            off.push_back(fs::relative(entry.path(), root).string());
    }
    std::sort(off.begin(), off.end());
    return off;
}

}  // namespace velmora::testkit
