#include "tree_walk.h"

#include "test_support.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::listTree;
using testing::TempDir;
using testing::writeFile;

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

std::vector<std::string> sorted(std::vector<std::string> paths) {
    std::sort(paths.begin(), paths.end());
    return paths;
}

TEST(WalkTree, ReopensFoldersBeyondTheOpenBoundWithoutChangingTheWalk) {
    TempDir dir;
    fs::path folder = dir.path();
    for (int depth = 0; depth < 12; ++depth) {
        for (const char* name : {"a.jpg", "b.jpg", "side/c.jpg", "skip/hidden-by-prune.jpg"}) {
            writeFile(folder / name, "");
        }
        folder /= "d" + std::to_string(depth);
    }
    std::vector<std::string> expected;
    for (const auto& path : listTree(dir.path())) {
        if (path.find("skip/") == std::string::npos || path.ends_with("skip/")) {
            expected.push_back(path);
        }
    }

    Recorder wide(dir.path()), narrow(dir.path()), single(dir.path());
    walkTree(dir.path(), wide);
    walkTree(dir.path(), narrow, 3);
    walkTree(dir.path(), single, 1);
    EXPECT_EQ(sorted(wide.seen), expected);
    EXPECT_EQ(narrow.seen, wide.seen);
    EXPECT_EQ(single.seen, wide.seen);
}

TEST(WalkTree, GoesDeeperThanTheDescriptorLimit) {
    TempDir dir;
    fs::path folder = dir.path();
    for (int depth = 0; depth < 300; ++depth) {
        writeFile(folder / "f.jpg", "");
        folder /= "d";
    }
    rlimit oldLimit;
    ::getrlimit(RLIMIT_NOFILE, &oldLimit);
    const rlimit small{100, oldLimit.rlim_max};
    ::setrlimit(RLIMIT_NOFILE, &small);
    Recorder recorder(dir.path());
    walkTree(dir.path(), recorder);
    ::setrlimit(RLIMIT_NOFILE, &oldLimit);
    EXPECT_EQ(sorted(recorder.seen), listTree(dir.path()));
}

TEST(WalkTree, SkipsHiddenEntriesLinksAndSpecialFiles) {
    TempDir dir;
    writeFile(dir / "photo.jpg", "");
    writeFile(dir / "real/inner.jpg", "");
    writeFile(dir / ".hidden.jpg", "");
    writeFile(dir / ".cache/x.jpg", "");
    fs::create_symlink("photo.jpg", dir / "link.jpg");
    fs::create_directory_symlink("real", dir / "linkdir");
    fs::create_symlink("nowhere", dir / "dangling.jpg");
    ASSERT_EQ(::mkfifo((dir / "pipe.jpg").c_str(), 0600), 0);

    Recorder recorder(dir.path());
    walkTree(dir.path(), recorder);
    EXPECT_EQ(sorted(recorder.seen),
              (std::vector<std::string>{"photo.jpg", "real/", "real/inner.jpg"}));

    Recorder none(dir.path());
    walkTree((dir / "missing").string(), none);
    walkTree((dir / "photo.jpg").string(), none);
    EXPECT_TRUE(none.seen.empty());
}

}  // namespace
}  // namespace velmora
