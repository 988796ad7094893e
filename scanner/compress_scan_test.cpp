// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real compress-scan on real folder trees and compares what it writes.

#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::linesInWalkOrder;
using testkit::listTree;
using testkit::readFile;
using testkit::run;
using testkit::TempDir;
using testkit::writeFile;

const fs::path compressScan = COMPRESS_SCAN_PATH;

TEST(CompressScan, ListsPhotosAndSumsTheirSizes) {
    TempDir dir;
    const fs::path src = dir / "src";
    const std::vector<std::pair<std::string, std::size_t>> photos = {
        {"a1.jpg", 10},      {"B.HEIC", 20},        {"c.webp", 0},
        {"GANJIL/y.jpg", 3}, {"GENAP_01/z.PNG", 4}, {"sub/d.tiff", 7}};
    std::vector<std::string> listed;
    for (const auto& [path, size] : photos) {
        writeFile(src / path, std::string(size, 'x'));
        listed.push_back(path);
    }
    for (const char* path : {"notes.txt", "scan", "bad\xff.jpg", "nl\n.jpg", ".hidden.jpg",
                             ".cache/e.jpg", "COMPRESSED_80/x.jpg", "compressed_old/y.jpg"}) {
        writeFile(src / path, "12345");
    }
    fs::create_symlink("a1.jpg", src / "link.jpg");
    fs::create_directory_symlink("sub", src / "linkdir");

    const auto job = dir / "new/job";
    const auto result = run(compressScan, {src.string(), job.string()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out + result.err, "");
    EXPECT_EQ(readFile(job / "files.txt"), linesInWalkOrder(src, listed));
    EXPECT_EQ(readFile(job / "summary.txt"), "6|4|44|2\n");
    EXPECT_EQ(listTree(job), (std::vector<std::string>{"files.txt", "summary.txt", "unreadable.txt",
                                                       "unreadable_names.txt"}));
    // Photos whose names cannot be one list line are told apart, escaped.
    auto unreadableNames = testkit::splitText(readFile(job / "unreadable_names.txt"), '\n');
    std::sort(unreadableNames.begin(), unreadableNames.end());
    EXPECT_EQ(unreadableNames, (std::vector<std::string>{(src / "bad\\xFF.jpg").string(),
                                                         (src / "nl\\n.jpg").string()}));
}

}  // namespace
}  // namespace velmora
