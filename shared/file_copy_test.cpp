#include "file_copy.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

#include "test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

struct stat statOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
}

/// A photo with a recognisable content, mode 0640 and an old modification time.
std::string makePhoto(const fs::path& path, std::size_t size = 100000) {
    std::string content(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        content[i] = char(i * 131 + size);
    writeFile(path, content);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const struct timespec times[2] = {{1500000000, 123456789}, {1400000000, 987654321}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    return content;
}

void expectSameAttributes(const fs::path& copy, const struct stat& original) {
    const struct stat info = statOf(copy);
    EXPECT_EQ(info.st_mode & 07777, original.st_mode & 07777);
    EXPECT_EQ(info.st_mtim.tv_sec, original.st_mtim.tv_sec);
    EXPECT_EQ(info.st_mtim.tv_nsec, original.st_mtim.tv_nsec);
}

/// Runs `transfer` in a child process that may write at most 1 MB per file,
/// as a full disk would allow, and gives its result.
TransferResult underFileSizeLimit(const std::function<TransferResult()>& transfer) {
    const pid_t child = ::fork();
    if (child == 0) {
        const struct rlimit limit = {1 << 20, 1 << 20};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, SIG_IGN);
        ::_exit(static_cast<int>(transfer()));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    return static_cast<TransferResult>(WEXITSTATUS(status));
}

TEST(FileCopy, CopyKeepsContentTimeAndPermissionsAndTheSource) {
    TempDir dir;
    const std::string content = makePhoto(dir / "a.jpg");
    const struct stat source = statOf(dir / "a.jpg");
    ASSERT_EQ(copyFileNoReplace(dir / "a.jpg", dir / "b.jpg"), TransferResult::Done);
    EXPECT_EQ(readFile(dir / "b.jpg"), content);
    EXPECT_EQ(readFile(dir / "a.jpg"), content);
    expectSameAttributes(dir / "b.jpg", source);

    makePhoto(dir / "empty.jpg", 0);
    ASSERT_EQ(copyFileNoReplace(dir / "empty.jpg", dir / "empty2.jpg"), TransferResult::Done);
    EXPECT_EQ(fs::file_size(dir / "empty2.jpg"), 0u);
}

TEST(FileCopy, CopyNeverReplacesAndLeavesNothingOnFailure) {
    TempDir dir;
    makePhoto(dir / "a.jpg");
    writeFile(dir / "taken.jpg", "keep me");
    EXPECT_EQ(copyFileNoReplace(dir / "a.jpg", dir / "taken.jpg"),
              TransferResult::DestinationTaken);
    EXPECT_EQ(readFile(dir / "taken.jpg"), "keep me");
    fs::create_symlink(dir / "nowhere", dir / "link.jpg");
    EXPECT_EQ(copyFileNoReplace(dir / "a.jpg", dir / "link.jpg"), TransferResult::DestinationTaken);
    EXPECT_FALSE(fs::exists(dir / "nowhere"));

    EXPECT_EQ(copyFileNoReplace(dir / "gone.jpg", dir / "c.jpg"), TransferResult::Failed);
    EXPECT_EQ(copyFileNoReplace(dir / "a.jpg", dir / "no" / "c.jpg"), TransferResult::Failed);
    fs::create_directory(dir / "folder.jpg");
    EXPECT_EQ(copyFileNoReplace(dir / "folder.jpg", dir / "c.jpg"), TransferResult::Failed);
    ASSERT_EQ(::mkfifo((dir / "fifo.jpg").c_str(), 0644), 0);
    EXPECT_EQ(copyFileNoReplace(dir / "fifo.jpg", dir / "c.jpg"), TransferResult::Failed);
    EXPECT_FALSE(fs::exists(dir / "c.jpg"));

    const std::string big = makePhoto(dir / "big.jpg", 3 << 20);
    EXPECT_EQ(underFileSizeLimit([&] { return copyFileNoReplace(dir / "big.jpg", dir / "c.jpg"); }),
              TransferResult::Failed);
    EXPECT_FALSE(fs::exists(dir / "c.jpg"));
}

TEST(FileCopy, MoveWithinOneFileSystemRenames) {
    TempDir dir;
    const std::string content = makePhoto(dir / "a.jpg");
    const ino_t inode = statOf(dir / "a.jpg").st_ino;
    ASSERT_EQ(moveFileNoReplace(dir / "a.jpg", dir / "b.jpg"), TransferResult::Done);
    EXPECT_FALSE(fs::exists(dir / "a.jpg"));
    EXPECT_EQ(readFile(dir / "b.jpg"), content);
    EXPECT_EQ(statOf(dir / "b.jpg").st_ino, inode);

    writeFile(dir / "c.jpg", "other");
    EXPECT_EQ(moveFileNoReplace(dir / "b.jpg", dir / "c.jpg"), TransferResult::DestinationTaken);
    EXPECT_EQ(readFile(dir / "b.jpg"), content);
    EXPECT_EQ(readFile(dir / "c.jpg"), "other");
    EXPECT_EQ(moveFileNoReplace(dir / "gone.jpg", dir / "d.jpg"), TransferResult::Failed);
}

TEST(FileCopy, MoveByLinkAndByCopyNeverReplaceAndKeepTheSourceOnFailure) {
    TempDir dir;
    const std::string content = makePhoto(dir / "a.jpg");
    const struct stat source = statOf(dir / "a.jpg");
    writeFile(dir / "taken.jpg", "other");

    EXPECT_EQ(moveByLink(dir / "a.jpg", dir / "taken.jpg"), TransferResult::DestinationTaken);
    ASSERT_EQ(moveByLink(dir / "a.jpg", dir / "b.jpg"), TransferResult::Done);
    EXPECT_FALSE(fs::exists(dir / "a.jpg"));
    EXPECT_EQ(readFile(dir / "b.jpg"), content);

    EXPECT_EQ(moveByCopy(dir / "b.jpg", dir / "taken.jpg"), TransferResult::DestinationTaken);
    EXPECT_EQ(readFile(dir / "taken.jpg"), "other");
    ASSERT_EQ(moveByCopy(dir / "b.jpg", dir / "c.jpg"), TransferResult::Done);
    EXPECT_FALSE(fs::exists(dir / "b.jpg"));
    EXPECT_EQ(readFile(dir / "c.jpg"), content);
    expectSameAttributes(dir / "c.jpg", source);

    const std::string big = makePhoto(dir / "big.jpg", 3 << 20);
    EXPECT_EQ(underFileSizeLimit([&] { return moveByCopy(dir / "big.jpg", dir / "d.jpg"); }),
              TransferResult::Failed);
    EXPECT_FALSE(fs::exists(dir / "d.jpg"));
    EXPECT_EQ(readFile(dir / "big.jpg"), big);
}

TEST(FileCopy, MoveAcrossFileSystemsCopiesThenRemovesTheSource) {
    TempDir dir;
    if (::access("/dev/shm", W_OK) != 0 || statOf(dir.path()).st_dev == statOf("/dev/shm").st_dev) {
        GTEST_SKIP() << "no second file system at /dev/shm";
    }
    const fs::path source = fs::path("/dev/shm") / ("velmora-move-" + std::to_string(::getpid()));
    struct Cleanup {
        fs::path file;
        ~Cleanup() {
            std::error_code ignored;
            fs::remove(file, ignored);
        }
    } cleanup{source};
    const std::string content = makePhoto(source);
    const struct stat original = statOf(source);
    writeFile(dir / "taken.jpg", "other");
    EXPECT_EQ(moveFileNoReplace(source, dir / "taken.jpg"), TransferResult::DestinationTaken);
    EXPECT_EQ(readFile(dir / "taken.jpg"), "other");

    ASSERT_EQ(moveFileNoReplace(source, dir / "a.jpg"), TransferResult::Done);
    EXPECT_FALSE(fs::exists(source));
    EXPECT_EQ(readFile(dir / "a.jpg"), content);
    expectSameAttributes(dir / "a.jpg", original);
}

TEST(FileCopy, CopyIntoFillsAReservedFile) {
    TempDir dir;
    const std::string content = makePhoto(dir / "a.jpg");
    const struct stat source = statOf(dir / "a.jpg");
    const int fd = ::open((dir / "out.jpg").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(copyFileInto(dir / "a.jpg", fd));
    ::close(fd);
    EXPECT_EQ(readFile(dir / "out.jpg"), content);
    expectSameAttributes(dir / "out.jpg", source);
    EXPECT_FALSE(copyFileInto(dir / "gone.jpg", fd));
}

}  // namespace
}  // namespace velmora
