// SPDX-License-Identifier: GPL-3.0-or-later
// Runs both real scans through the failures of the steps they share.

#include "test_support.h"

#include <unistd.h>

#include <gtest/gtest.h>

namespace velmora {
namespace {

namespace fs = std::filesystem;
using namespace testkit;
using Names = std::vector<std::string>;

struct Scan {
    std::string name;
    fs::path program;
    std::string emptySummary;
};
const Scan scans[] = {{"Tallix", TALLIX_PATH, "0|0|0|0|0\n"},
                      {"compress-scan", COMPRESS_SCAN_PATH, "0|0|0|0\n"}};

TEST(ScanJob, EmptyMissingOrFileSourceGivesAnEmptyScanAndEmptiesAnOldList) {
    for (const Scan& scan : scans) {
        SCOPED_TRACE(scan.name);
        TempDir dir;
        writeFile(dir / "job/files.txt", "/old/IMG_1.jpg\n");
        fs::create_directory(dir / "empty");
        writeFile(dir / "file.jpg", "");
        for (const char* source : {"empty", "missing", "file.jpg"}) {
            EXPECT_EQ(run(scan.program, {(dir / source).string(), (dir / "job").string()}).exitCode,
                      0);
            EXPECT_EQ(readFile(dir / "job/files.txt"), "") << source;
            EXPECT_EQ(readFile(dir / "job/summary.txt"), scan.emptySummary) << source;
        }
    }
}

TEST(ScanJob, SetUpFailuresTouchNothingAndKeepTheOldSummary) {
    for (const Scan& scan : scans) {
        SCOPED_TRACE(scan.name);
        TempDir dir;
        const std::string job = (dir / "job").string();
        for (const auto& args : std::vector<Names>{{}, {job}, {dir.path().string(), job, "80"}}) {
            const auto result = run(scan.program, args);
            EXPECT_EQ(result.exitCode, 2);
            EXPECT_EQ(result.out + result.err, "Usage: " + scan.name + " SOURCE TMP\n");
        }
        EXPECT_TRUE(listTree(dir.path()).empty());

        writeFile(dir / "plain", "");
        writeFile(dir / "job/summary.txt", "7|3|4|0\n");
        fs::create_directory(dir / "job/files.txt");
        for (const fs::path& target : {dir / "plain/job", dir / "job"}) {
            const auto result = run(scan.program, {dir.path().string(), target.string()});
            EXPECT_EQ(result.exitCode, 3);
            EXPECT_EQ(result.out + result.err, "Cannot open temporary files.\n");
        }
        EXPECT_EQ(readFile(dir / "job/summary.txt"), "7|3|4|0\n");
    }
}

TEST(ScanJob, SummaryThatCannotBeWrittenFailsTheScanAfterTheWorkList) {
    for (const Scan& scan : scans) {
        SCOPED_TRACE(scan.name);
        TempDir dir;
        writeFile(dir / "src/a1.jpg", "");
        writeFile(dir / "job/summary.txt/blocker", "");
        const auto result = run(scan.program, {(dir / "src").string(), (dir / "job").string()});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out + result.err, "Cannot write summary.txt: Is a directory\n");
        EXPECT_EQ(readFile(dir / "job/files.txt"), (dir / "src/a1.jpg").string() + "\n");
    }
}

TEST(ScanJob, EmptySourceOrJobFolderTouchesNothing) {
    for (const Scan& scan : scans) {
        SCOPED_TRACE(scan.name);
        TempDir dir;
        writeFile(dir / "src/a1.jpg", "");
        for (const Names& args :
             {Names{"", (dir / "job").string()}, Names{(dir / "src").string(), ""}}) {
            const auto result = run(scan.program, args, dir.path());
            EXPECT_EQ(result.exitCode, 3);
            EXPECT_EQ(result.err, "Cannot open temporary files.\n");
            EXPECT_EQ(listTree(dir.path()), (Names{"src/", "src/a1.jpg"}));
        }
    }
}

/// Runs `program` with `args` unable to read what its mode bits forbid: as
/// root, without the capabilities that would let it (setpriv drops them).
RunResult runWithoutOverride(const fs::path& program, const Names& args) {
    if (::geteuid() != 0)
        return run(program, args);
    Names wrapped = {"--inh-caps=-all", "--bounding-set=-dac_override,-dac_read_search",
                     program.string()};
    wrapped.insert(wrapped.end(), args.begin(), args.end());
    return run("/usr/bin/setpriv", wrapped);
}

TEST(ScanJob, ListsTheFoldersItCannotReadAndGoesOn) {
    for (const Scan& scan : scans) {
        SCOPED_TRACE(scan.name);
        TempDir dir;
        writeFile(dir / "src/a1.jpg", "");
        writeFile(dir / "src/locked/b3.jpg", "");
        writeFile(dir / "src/open/c5.jpg", "");
        fs::permissions(dir / "src/locked", fs::perms::none);
        const auto result =
            runWithoutOverride(scan.program, {(dir / "src").string(), (dir / "job").string()});
        fs::permissions(dir / "src/locked", fs::perms::owner_all);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(readFile(dir / "job/unreadable.txt"), (dir / "src/locked").string() + "\n");
        EXPECT_EQ(readFile(dir / "job/files.txt"),
                  linesInWalkOrder(dir / "src", {"a1.jpg", "open/c5.jpg"}));

        // The root itself, when it is no folder.
        EXPECT_EQ(run(scan.program, {(dir / "missing").string(), (dir / "job").string()}).exitCode,
                  0);
        EXPECT_EQ(readFile(dir / "job/unreadable.txt"), (dir / "missing").string() + "\n");
    }
}

TEST(ScanJob, ListsPhotosDeeperThanPathMax) {
    for (const Scan& scan : scans) {
        SCOPED_TRACE(scan.name);
        TempDir dir;
        const fs::path deep = makeDeepFolder(dir / "src", 2200);
        writeDeepFile(deep / "IMG_7.jpg", "deep");
        ASSERT_EQ(run(scan.program, {(dir / "src").string(), (dir / "job").string()}).exitCode, 0);
        EXPECT_EQ(readFile(dir / "job/files.txt"), (deep / "IMG_7.jpg").string() + "\n");
        EXPECT_EQ(readFile(dir / "job/unreadable.txt"), "");
    }
}

}  // namespace
}  // namespace velmora
