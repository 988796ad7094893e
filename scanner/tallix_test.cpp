// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real Tallix on real folder trees and compares every byte it writes.

#include "test_support.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::linesInWalkOrder;
using testkit::listTree;
using testkit::readFile;
using testkit::run;
using testkit::shownLinesInWalkOrder;
using testkit::TempDir;
using testkit::writeFile;
using Names = std::vector<std::string>;

const fs::path tallix = TALLIX_PATH;

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

void touchAll(const fs::path& root, const Names& paths) {
    for (const auto& path : paths)
        writeFile(root / path, "");
}

TEST(Tallix, SortsATreeIntoTheSixFiles) {
    TempDir dir;
    const fs::path src = dir / "src";
    const Names odd = {"b1.Jpeg", "COMPRESSED_IMG_5.jpg", "GANJIL 2/r5.jpg",
                       "nested/deeper/u9.tiff"};
    const Names even = {"c2.PNG", "IMG_0000.jpg", "Café 12.jpg", "GENAPX/s6.jpg",
                        "MyCOMPRESSED_/t8.JPG"};
    const Names ignored = {"a.JPG",
                           "notes 12.txt",
                           "12.gif",
                           "scan12",
                           "IMG_99999999999999999999.jpg",
                           "nested/deeper/readme"};
    for (const Names& paths : {odd, even, ignored})
        touchAll(src, paths);
    // Hidden entries and pruned output folders are never met.
    touchAll(src, {".hidden12.jpg", ".cache/x1.jpg", "genap_02/q4.jpg", "COMPRESSED_old/x7.jpg",
                   "ganjil/p3.jpg", "GANJIL_01/p5.jpg", "compreßed_x/v1.jpg", "ganjıl/w1.jpg"});
    fs::create_symlink("b1.Jpeg", src / "link3.jpg");
    fs::create_directory_symlink("nested", src / "linkdir");
    fs::create_symlink("nowhere", src / "dangling5.jpg");
    ASSERT_EQ(::mkfifo((src / "pipe7.jpg").c_str(), 0600), 0);
    Names numbered = odd;
    numbered.insert(numbered.end(), even.begin(), even.end());

    const auto result = run(tallix, {src.string(), (dir / "job").string()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out + result.err, "");
    const ScanFiles expected{linesInWalkOrder(src, numbered),
                             linesInWalkOrder(src, odd),
                             linesInWalkOrder(src, even),
                             linesInWalkOrder(src, ignored),
                             "15|9|4|5|6\n",
                             "9|4|5|6|0\n"};
    EXPECT_EQ(readScan(dir / "job"), expected);
    EXPECT_EQ(listTree(dir / "job"),
              (Names{"even.txt", "files.txt", "ignore.txt", "odd.txt", "scan_status.txt",
                     "summary.txt", "unreadable.txt", "unreadable_names.txt"}));
    EXPECT_EQ(readFile(dir / "job" / "unreadable.txt"), "");
}

TEST(Tallix, SetsAsideNamesThatCannotBeOneListLine) {
    TempDir dir;
    const fs::path src = dir / "src";
    // path_text_test has every escape; these show that file and folder names get them.
    const std::map<std::string, std::string> shown = {{"bad\xff_7.jpg", "/bad\\xFF_7.jpg"},
                                                      {"nl\n9.jpg", "/nl\\n9.jpg"},
                                                      {"ls\u2028 4.jpg", "/ls\\u2028 4.jpg"},
                                                      {"dir\xfe/in2.jpg", "/dir\\xFE/in2.jpg"}};
    for (const auto& [path, line] : shown)
        writeFile(src / path, "");
    writeFile(src / "ok 6.jpg", "");
    writeFile(src / "bad\xff_no_number.jpg", "");
    writeFile(src / "bad\xff_8.txt", "");
    ASSERT_EQ(run(tallix, {src.string(), (dir / "job").string()}).exitCode, 0);
    const std::string ok = linesInWalkOrder(src, {"ok 6.jpg"});
    auto ignored = shown;
    ignored.emplace("bad\xff_no_number.jpg", "/bad\\xFF_no_number.jpg");
    ignored.emplace("bad\xff_8.txt", "/bad\\xFF_8.txt");
    EXPECT_EQ(readScan(dir / "job"), (ScanFiles{ok, "", ok, shownLinesInWalkOrder(src, ignored),
                                                "7|1|0|1|6\n", "1|0|1|6|4\n"}));
    // Only the numbered photos among them would have been sorted: they are told apart.
    EXPECT_EQ(readFile(dir / "job/unreadable_names.txt"), shownLinesInWalkOrder(src, shown));
}

TEST(Tallix, RerunFromARelativeSourceNamedGanjilEmptiesTheOldListsAndReplacesPlantedLinks) {
    TempDir dir;
    touchAll(dir / "first", {"a1.jpg", "b2.jpg", "c.txt"});
    ASSERT_EQ(run(tallix, {(dir / "first").string(), (dir / "job").string()}).exitCode, 0);
    writeFile(dir / "victim.txt", "keep\n");
    fs::remove(dir / "job/even.txt");
    fs::create_symlink(dir / "victim.txt", dir / "job/even.txt");

    // A source named like an output folder is walked all the same.
    writeFile(dir / "GANJIL/x3.jpg", "");
    ASSERT_EQ(run(tallix, {"./GANJIL//", "job"}, dir.path()).exitCode, 0);
    const std::string line = (dir / "GANJIL/x3.jpg").string() + "\n";
    EXPECT_EQ(readScan(dir / "job"), (ScanFiles{line, line, "", "", "1|1|1|0|0\n", "1|1|0|0|0\n"}));
    EXPECT_FALSE(fs::is_symlink(dir / "job/even.txt"));
    EXPECT_EQ(readFile(dir / "victim.txt"), "keep\n");
}

}  // namespace
}  // namespace velmora
