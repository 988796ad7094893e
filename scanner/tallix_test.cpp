// Runs the real Tallix on real folder trees and compares every byte it writes.

#include "test_support.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::listTree;
using testing::readFile;
using testing::run;
using testing::TempDir;
using testing::writeFile;

const fs::path tallix = TALLIX_PATH;

/// A line per entry: the entry's path on disk below `root` and the text the
/// line shows after `root` (the same path with a leading "/" unless given).
/// The lines come in the order in which the file system lists the tree.
std::string shownLinesInWalkOrder(const fs::path& root,
                                  std::vector<std::pair<std::string, std::string>> entries) {
    std::map<std::string, std::size_t> order;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        order.emplace(entry.path().lexically_relative(root).string(), order.size());
    }
    std::sort(entries.begin(), entries.end(),
              [&](const auto& a, const auto& b) { return order.at(a.first) < order.at(b.first); });
    std::string text;
    for (const auto& [onDisk, shown] : entries) {
        text += root.string() + (shown.empty() ? "/" + onDisk : shown) + "\n";
    }
    return text;
}

std::string linesInWalkOrder(const fs::path& root, const std::vector<std::string>& paths) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (const auto& path : paths)
        entries.emplace_back(path, "");
    return shownLinesInWalkOrder(root, entries);
}

/// The six files of a finished scan.
struct ScanFiles {
    std::string files, odd, even, ignore, status, summary;
    bool operator==(const ScanFiles&) const = default;
};

ScanFiles readScan(const fs::path& job) {
    return {readFile(job / "files.txt"),       readFile(job / "odd.txt"),
            readFile(job / "even.txt"),        readFile(job / "ignore.txt"),
            readFile(job / "scan_status.txt"), readFile(job / "summary.txt")};
}

void touchAll(const fs::path& root, const std::vector<std::string>& paths) {
    for (const auto& path : paths)
        writeFile(root / path, "");
}

TEST(Tallix, SortsATreeIntoTheSixFiles) {
    TempDir dir;
    const fs::path src = dir / "src";
    const std::vector<std::string> odd = {"b1.Jpeg", "COMPRESSED_IMG_5.jpg", "GANJIL 2/r5.jpg",
                                          "nested/deeper/u9.tiff"};
    const std::vector<std::string> even = {"c2.PNG", "IMG_0000.jpg", "Café 12.jpg", "GENAPX/s6.jpg",
                                           "MyCOMPRESSED_/t8.JPG"};
    const std::vector<std::string> ignored = {"a.JPG",
                                              "notes 12.txt",
                                              "12.gif",
                                              "scan12",
                                              "IMG_99999999999999999999.jpg",
                                              "nested/deeper/readme"};
    touchAll(src, odd);
    touchAll(src, even);
    touchAll(src, ignored);
    touchAll(src, {".hidden12.jpg", ".cache/x1.jpg", "genap_02/q4.jpg", "COMPRESSED_old/x7.jpg",
                   "ganjil/p3.jpg", "GANJIL_01/p5.jpg", "compreßed_x/v1.jpg", "ganjıl/w1.jpg"});
    fs::create_symlink("b1.Jpeg", src / "link3.jpg");
    fs::create_directory_symlink("nested", src / "linkdir");
    fs::create_symlink("nowhere", src / "dangling5.jpg");
    std::vector<std::string> numbered = odd;
    numbered.insert(numbered.end(), even.begin(), even.end());

    const auto result = run(tallix, {src.string(), (dir / "job").string()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    const ScanFiles expected{linesInWalkOrder(src, numbered),
                             linesInWalkOrder(src, odd),
                             linesInWalkOrder(src, even),
                             linesInWalkOrder(src, ignored),
                             "15|9|4|5|6\n",
                             "9|4|5|6\n"};
    EXPECT_EQ(readScan(dir / "job"), expected);
    EXPECT_EQ(listTree(dir / "job"),
              (std::vector<std::string>{"even.txt", "files.txt", "ignore.txt", "odd.txt",
                                        "scan_status.txt", "summary.txt"}));
}

TEST(Tallix, SetsAsideNamesThatCannotBeOneListLine) {
    TempDir dir;
    const fs::path src = dir / "src";
    touchAll(src, {"ok 6.jpg", "bad\xff_7.jpg", "nl\n9.jpg", "cr\r3.jpg", "ls\u2028 4.jpg",
                   "nel\u0085 5.jpg", "dir\xfe/in2.jpg"});
    const auto result = run(tallix, {src.string(), (dir / "job").string()});
    EXPECT_EQ(result.exitCode, 0);
    const std::string ignore =
        shownLinesInWalkOrder(src, {{"bad\xff_7.jpg", "/bad\\xFF_7.jpg"},
                                    {"nl\n9.jpg", "/nl\\n9.jpg"},
                                    {"cr\r3.jpg", "/cr\\r3.jpg"},
                                    {"ls\u2028 4.jpg", "/ls\\u2028 4.jpg"},
                                    {"nel\u0085 5.jpg", "/nel\\u0085 5.jpg"},
                                    {"dir\xfe/in2.jpg", "/dir\\xFE/in2.jpg"}});
    const std::string ok = linesInWalkOrder(src, std::vector<std::string>{"ok 6.jpg"});
    EXPECT_EQ(readScan(dir / "job"), (ScanFiles{ok, "", ok, ignore, "7|1|0|1|6\n", "1|0|1|6\n"}));
}

TEST(Tallix, EmptyMissingOrFileSourceGivesAnEmptyScan) {
    TempDir dir;
    fs::create_directory(dir / "empty");
    writeFile(dir / "file.jpg", "");
    for (const char* source : {"empty", "missing", "file.jpg"}) {
        const auto job = dir / (std::string("job-") + source);
        const auto result = run(tallix, {(dir / source).string(), job.string()});
        EXPECT_EQ(result.exitCode, 0) << source;
        EXPECT_EQ(readScan(job), (ScanFiles{"", "", "", "", "0|0|0|0|0\n", "0|0|0|0\n"})) << source;
    }
}

TEST(Tallix, ThousandNumberedPhotosEndWithTheirProgressLine) {
    TempDir dir;
    for (int n = 1; n <= 1000; ++n)
        writeFile(dir / "src" / ("IMG_" + std::to_string(n) + ".jpg"), "");
    const auto result = run(tallix, {(dir / "src").string(), (dir / "job").string()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(readFile(dir / "job/scan_status.txt"), "1000|1000|500|500|0\n");
    EXPECT_EQ(readFile(dir / "job/summary.txt"), "1000|500|500|0\n");
}

TEST(Tallix, RelativeSourceGivesAbsolutePathsAndASourceNamedGanjilIsWalked) {
    TempDir dir;
    writeFile(dir / "GANJIL/x3.jpg", "");
    const auto result = run(tallix, {"./GANJIL//", "job"}, dir.path());
    EXPECT_EQ(result.exitCode, 0);
    const std::string line = (dir / "GANJIL/x3.jpg").string() + "\n";
    EXPECT_EQ(readScan(dir / "job"), (ScanFiles{line, line, "", "", "1|1|1|0|0\n", "1|1|0|0\n"}));
}

TEST(Tallix, RerunEmptiesTheOldListsAndReplacesPlantedLinks) {
    TempDir dir;
    touchAll(dir / "first", {"a1.jpg", "b2.jpg", "c.txt"});
    writeFile(dir / "second/d3.jpg", "");
    ASSERT_EQ(run(tallix, {(dir / "first").string(), (dir / "job").string()}).exitCode, 0);
    writeFile(dir / "victim.txt", "keep\n");
    fs::remove(dir / "job/even.txt");
    fs::create_symlink(dir / "victim.txt", dir / "job/even.txt");

    ASSERT_EQ(run(tallix, {(dir / "second").string(), (dir / "job").string()}).exitCode, 0);
    const std::string line = (dir / "second/d3.jpg").string() + "\n";
    EXPECT_EQ(readScan(dir / "job"), (ScanFiles{line, line, "", "", "1|1|1|0|0\n", "1|1|0|0\n"}));
    EXPECT_FALSE(fs::is_symlink(dir / "job/even.txt"));
    EXPECT_EQ(readFile(dir / "victim.txt"), "keep\n");
}

TEST(Tallix, WrongArgumentCountTouchesNothing) {
    TempDir dir;
    const std::string job = (dir / "job").string();
    for (const auto& args :
         std::vector<std::vector<std::string>>{{}, {job}, {dir.path().string(), job, "extra"}}) {
        const auto result = run(tallix, args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "Usage: Tallix SOURCE TMP\n");
    }
    EXPECT_TRUE(listTree(dir.path()).empty());
}

TEST(Tallix, JobFolderThatCannotTakeTheFilesGivesStatus3AndKeepsTheOldSummary) {
    TempDir dir;
    writeFile(dir / "plain", "");
    writeFile(dir / "job/summary.txt", "7|3|4|0\n");
    fs::create_directory(dir / "job/files.txt");
    for (const fs::path& job : {dir / "plain/job", dir / "job"}) {
        const auto result = run(tallix, {dir.path().string(), job.string()});
        EXPECT_EQ(result.exitCode, 3);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "Cannot open temporary files.\n");
    }
    EXPECT_EQ(readFile(dir / "job/summary.txt"), "7|3|4|0\n");
}

TEST(Tallix, SummaryThatCannotBeWrittenFailsTheScanAfterTheLists) {
    TempDir dir;
    writeFile(dir / "src/a1.jpg", "");
    writeFile(dir / "job/summary.txt/blocker", "");
    const auto result = run(tallix, {(dir / "src").string(), (dir / "job").string()});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(result.err, "Cannot write summary.txt: Is a directory\n");
    const std::string line = (dir / "src/a1.jpg").string() + "\n";
    EXPECT_EQ(readFile(dir / "job/odd.txt"), line);
    EXPECT_EQ(readFile(dir / "job/scan_status.txt"), "1|1|1|0|0\n");
    EXPECT_EQ(listTree(dir / "job").size(), 7u);  // five files, the folder and its content
}

}  // namespace
}  // namespace velmora
