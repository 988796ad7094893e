// SPDX-License-Identifier: GPL-3.0-or-later
// Hidden entries, links and special files are skipped on real trees in the
// Tallix tests.
#include "tree_walk.h"

#include "test_support.h"

#include <sys/resource.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::listTree;
using testkit::TempDir;
using testkit::writeFile;

/// Notes every entry as a path below the root, folders with a trailing "/".
class Recorder final : public WalkVisitor {
  public:
    explicit Recorder(const fs::path& root) : rootLength_(root.string().size() + 1) {}

    bool enterFolder(const WalkEntry& folder) override {
        seen.push_back(std::string(folder.path.substr(rootLength_)) + '/');
        return std::string_view(folder.name) != "skip";
    }
    void visitFile(const WalkEntry& file) override {
        seen.emplace_back(file.path.substr(rootLength_));
    }

    std::vector<std::string> seen;

  private:
    std::size_t rootLength_;
};

TEST(WalkTree, GoesDeeperThanTheDescriptorLimitAndReopensFoldersBeyondTheBound) {
    TempDir dir;
    fs::path folder = dir.path();
    for (int depth = 0; depth < 300; ++depth) {
        for (const char* name : {"a.jpg", "b.jpg", "side/c.jpg", "skip/hidden-by-prune.jpg"})
            writeFile(folder / name, "");
        folder /= "d";
    }
    std::vector<std::string> expected;
    for (const auto& path : listTree(dir.path())) {
        if (path.find("skip/") == std::string::npos || path.ends_with("skip/"))
            expected.push_back(path);
    }

    rlimit oldLimit;
    ::getrlimit(RLIMIT_NOFILE, &oldLimit);
    const rlimit small{100, oldLimit.rlim_max};
    ::setrlimit(RLIMIT_NOFILE, &small);
    Recorder wide(dir.path()), narrow(dir.path()), single(dir.path());
    walkTree(dir.path(), wide);
    walkTree(dir.path(), narrow, 3);
    walkTree(dir.path(), single, 1);
    ::setrlimit(RLIMIT_NOFILE, &oldLimit);

    std::vector<std::string> sorted = wide.seen;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, expected);
    EXPECT_EQ(narrow.seen, wide.seen);
    EXPECT_EQ(single.seen, wide.seen);
}

}  // namespace
}  // namespace velmora
