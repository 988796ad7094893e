#include "unique_destination.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::writeFile;

/// True for a canonical upper-case version 4 UUID followed by ".jpg".
bool isUuidJpegName(const std::string& name) {
    if (name.size() != 40 || !name.ends_with(".jpg"))
        return false;
    for (std::size_t i = 0; i < 36; ++i) {
        const bool hyphen = i == 8 || i == 13 || i == 18 || i == 23;
        const bool hex = (name[i] >= '0' && name[i] <= '9') || (name[i] >= 'A' && name[i] <= 'F');
        if (hyphen ? name[i] != '-' : !hex)
            return false;
    }
    return name[14] == '4' && std::string_view("89AB").find(name[19]) != std::string_view::npos;
}

/// Takes a name the way the workers do: by creating it exclusively.
ClaimResult createExclusively(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
        ::close(fd);
        return ClaimResult::Claimed;
    }
    return errno == EEXIST ? ClaimResult::Taken : ClaimResult::Failed;
}

TEST(UniqueDestination, NumbersTakenNamesBeforeTheExtension) {
    TempDir dir;
    EXPECT_EQ(uniqueDestination(dir / "IMG_0013.JPG"), dir / "IMG_0013.JPG");
    writeFile(dir / "IMG_0013.JPG", "a");
    EXPECT_EQ(uniqueDestination(dir / "IMG_0013.JPG"), dir / "IMG_0013 (1).JPG");
    writeFile(dir / "IMG_0013 (1).JPG", "b");
    EXPECT_EQ(uniqueDestination(dir / "IMG_0013.JPG"), dir / "IMG_0013 (2).JPG");

    writeFile(dir / "scan 8", "c");
    EXPECT_EQ(uniqueDestination(dir / "scan 8"), dir / "scan 8 (1)");
    writeFile(dir / "photo.12.jpg", "d");
    EXPECT_EQ(uniqueDestination(dir / "photo.12.jpg"), dir / "photo.12 (1).jpg");
}

TEST(UniqueDestination, CountsFoldersAndLinkedItemsAsTaken) {
    TempDir dir;
    fs::create_directory(dir / "IMG_4.jpg");
    EXPECT_EQ(uniqueDestination(dir / "IMG_4.jpg"), dir / "IMG_4 (1).jpg");
    writeFile(dir / "target", "t");
    fs::create_symlink(dir / "target", dir / "IMG_5.jpg");
    EXPECT_EQ(uniqueDestination(dir / "IMG_5.jpg"), dir / "IMG_5 (1).jpg");
    // A dangling link looks free, but claiming never replaces it.
    fs::create_symlink(dir / "nowhere", dir / "IMG_6.jpg");
    EXPECT_EQ(uniqueDestination(dir / "IMG_6.jpg"), dir / "IMG_6.jpg");
    EXPECT_EQ(claimFreeName(dir / "IMG_6.jpg", createExclusively), dir / "IMG_6 (1).jpg");
    EXPECT_TRUE(fs::is_symlink(dir / "IMG_6.jpg"));
}

TEST(UniqueDestination, ClaimsNamesInsideAnOpenFolder) {
    TempDir dir;
    writeFile(dir / "IMG_4.jpg", "a");
    writeFile(dir / "IMG_4 (1).jpg", "b");
    const int folder = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    std::vector<fs::path> attempts;
    const auto createInFolder = [&](const fs::path& name) {
        attempts.push_back(name);
        return createExclusively(dir / name);
    };
    EXPECT_EQ(claimFreeName(folder, "IMG_4.jpg", createInFolder), fs::path("IMG_4 (2).jpg"));
    // The taken "IMG_4 (1).jpg" is seen in the folder and never attempted.
    EXPECT_EQ(attempts, (std::vector<fs::path>{"IMG_4.jpg", "IMG_4 (2).jpg"}));
    EXPECT_EQ(claimFreeName(folder, "new 5", createInFolder), fs::path("new 5"));
    ::close(folder);
    EXPECT_TRUE(fs::exists(dir / "IMG_4 (2).jpg"));
}

TEST(UniqueDestination, ClaimStopsAtARealFailure) {
    TempDir dir;
    int calls = 0;
    const auto failing = [&](const fs::path&) {
        ++calls;
        return ClaimResult::Failed;
    };
    EXPECT_FALSE(claimFreeName(dir / "a.jpg", failing));
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(claimFreeName(dir / "missing" / "a.jpg", createExclusively));
}

TEST(UniqueDestination, RacingClaimsAllGetDistinctNamesOfTheSequence) {
    TempDir dir;
    constexpr int kThreads = 8;
    constexpr int kClaimsEach = 50;
    std::mutex mutex;
    std::set<fs::path> claimed;
    std::vector<std::jthread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < kClaimsEach; ++i) {
                const auto name = claimFreeName(dir / "IMG_4.jpg", createExclusively);
                ASSERT_TRUE(name);
                std::lock_guard guard(mutex);
                EXPECT_TRUE(claimed.insert(*name).second) << *name;
            }
        });
    }
    threads.clear();
    std::set<fs::path> expected{dir / "IMG_4.jpg"};
    for (int i = 1; i < kThreads * kClaimsEach; ++i) {
        expected.insert(dir / ("IMG_4 (" + std::to_string(i) + ").jpg"));
    }
    EXPECT_EQ(claimed, expected);
}

TEST(UniqueDestination, AfterTheLastNumberComesARandomUuidName) {
    TempDir dir;
    long calls = 0;
    const auto name = claimFreeName(dir / "IMG_1.jpg", [&](const fs::path& candidate) {
        ++calls;
        const bool numbered = candidate.filename().string().starts_with("IMG_1");
        return numbered ? ClaimResult::Taken : ClaimResult::Claimed;
    });
    ASSERT_TRUE(name);
    EXPECT_TRUE(isUuidJpegName(name->filename())) << *name;
    EXPECT_EQ(name->parent_path(), dir.path());
    EXPECT_EQ(calls, 1000001);
}

}  // namespace
}  // namespace velmora
