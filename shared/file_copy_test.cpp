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

// brevin_test runs copies out of room and moves across file systems with the
// real program.

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::readFile;
using testkit::statOf;
using testkit::TempDir;
using testkit::writeFile;

/// A photo of `size` recognisable bytes, mode 0640 and an old time.
std::string makePhoto(const fs::path& path, std::size_t size = 100000) {
    std::string content(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        content[i] = char(i * 131 + size);
    writeFile(path, content);
    ::chmod(path.c_str(), 0640);
    const struct timespec times[2] = {{1500000000, 123456789}, {1400000000, 987654321}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    return content;
}

void expectCopyOf(const fs::path& copy, const std::string& content, const struct stat& original) {
    EXPECT_EQ(readFile(copy), content);
    const struct stat info = statOf(copy);
    EXPECT_EQ(info.st_mode & 07777, original.st_mode & 07777);
    EXPECT_EQ(info.st_mtim.tv_sec, original.st_mtim.tv_sec);
    EXPECT_EQ(info.st_mtim.tv_nsec, original.st_mtim.tv_nsec);
}

/// Runs `transfer` in a child that may write at most 1 MB per file, as a
/// nearly full disk would allow, and gives its result.
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
    return static_cast<TransferResult>(WEXITSTATUS(status));
}

TEST(FileCopy, CopyKeepsTheSourceAndItsAttributesAndNeverReplaces) {
    TempDir dir;
    const std::string content = makePhoto(dir / "a.jpg");
    ASSERT_EQ(copyFileNoReplace(dir / "a.jpg", dir / "b.jpg"), TransferResult::Done);
    expectCopyOf(dir / "b.jpg", content, statOf(dir / "a.jpg"));
    EXPECT_EQ(readFile(dir / "a.jpg"), content);
    const int fd = ::open((dir / "reserved.jpg").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    EXPECT_TRUE(copyFileInto(dir / "a.jpg", fd));
    EXPECT_FALSE(copyFileInto(dir / "gone.jpg", fd));
    ::close(fd);
    expectCopyOf(dir / "reserved.jpg", content, statOf(dir / "a.jpg"));

    writeFile(dir / "taken.jpg", "keep me");
    EXPECT_EQ(copyFileNoReplace(dir / "a.jpg", dir / "taken.jpg"),
              TransferResult::DestinationTaken);
    EXPECT_EQ(readFile(dir / "taken.jpg"), "keep me");
    fs::create_symlink(dir / "nowhere", dir / "link.jpg");
    EXPECT_EQ(copyFileNoReplace(dir / "a.jpg", dir / "link.jpg"), TransferResult::DestinationTaken);
    EXPECT_FALSE(fs::exists(dir / "nowhere"));
}

TEST(FileCopy, FailedCopyLeavesNothingBehind) {
    TempDir dir;
    const std::string big = makePhoto(dir / "big.jpg", 3 << 20);
    EXPECT_EQ(copyFileNoReplace(dir / "gone.jpg", dir / "c.jpg"), TransferResult::Failed);
    EXPECT_EQ(copyFileNoReplace(dir / "big.jpg", dir / "no" / "c.jpg"), TransferResult::Failed);
    ASSERT_EQ(::mkfifo((dir / "fifo.jpg").c_str(), 0644), 0);  // must not hang
    EXPECT_EQ(copyFileNoReplace(dir / "fifo.jpg", dir / "c.jpg"), TransferResult::Failed);
    EXPECT_FALSE(fs::exists(dir / "c.jpg"));
    EXPECT_EQ(underFileSizeLimit([&] { return moveByCopy(dir / "big.jpg", dir / "d.jpg"); }),
              TransferResult::Failed);
    EXPECT_FALSE(fs::exists(dir / "d.jpg"));
    EXPECT_EQ(readFile(dir / "big.jpg"), big);
}

TEST(FileCopy, EveryWayOfMovingNeverReplaces) {
    TempDir dir;
    const std::string content = makePhoto(dir / "a.jpg");
    const struct stat original = statOf(dir / "a.jpg");
    writeFile(dir / "taken.jpg", "other");
    EXPECT_EQ(moveFileNoReplace(dir / "a.jpg", dir / "taken.jpg"),
              TransferResult::DestinationTaken);
    EXPECT_EQ(moveByLink(dir / "a.jpg", dir / "taken.jpg"), TransferResult::DestinationTaken);
    EXPECT_EQ(moveByCopy(dir / "a.jpg", dir / "taken.jpg"), TransferResult::DestinationTaken);
    EXPECT_EQ(readFile(dir / "taken.jpg"), "other");

    ASSERT_EQ(moveFileNoReplace(dir / "a.jpg", dir / "b.jpg"), TransferResult::Done);
    EXPECT_EQ(statOf(dir / "b.jpg").st_ino, original.st_ino);  // renamed, not copied
    ASSERT_EQ(moveByLink(dir / "b.jpg", dir / "c.jpg"), TransferResult::Done);
    ASSERT_EQ(moveByCopy(dir / "c.jpg", dir / "d.jpg"), TransferResult::Done);
    expectCopyOf(dir / "d.jpg", content, original);
    EXPECT_EQ(testkit::listTree(dir.path()), (std::vector<std::string>{"d.jpg", "taken.jpg"}));
    EXPECT_EQ(moveFileNoReplace(dir / "gone.jpg", dir / "e.jpg"), TransferResult::Failed);
}

}  // namespace
}  // namespace velmora
