// SPDX-License-Identifier: GPL-3.0-or-later
#include "line_writer.h"

#include "test_support.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>

namespace velmora {
namespace {

TEST(WriteLine, LinesLandWholeOrNotAtAll) {
    testkit::TempDir dir;
    const auto file = dir / "list.txt";
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    writeLine(fd, "first");
    writeLine(fd, "second");

    // A file-size limit stands in for a full disk: the second long line
    // stops part-way, and its start must not stay to merge with the next.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit;
    ::getrlimit(RLIMIT_FSIZE, &oldLimit);
    const rlimit small{30, oldLimit.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    writeLine(fd, "0123456789");
    writeLine(fd, "0123456789");
    writeLine(fd, "abc");
    ::setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);
    ::close(fd);

    EXPECT_EQ(testkit::readFile(file), "first\nsecond\n0123456789\nabc\n");
}

}  // namespace
}  // namespace velmora
