// Runs both real scans through the failures of the steps they share.

#include "test_support.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

namespace fs = std::filesystem;
using namespace testkit;
using Names = std::vector<std::string>;

const std::pair<std::string, fs::path> scans[] = {{"Tallix", TALLIX_PATH},
                                                  {"compress-scan", COMPRESS_SCAN_PATH}};

TEST(ScanJob, SetUpFailuresTouchNothingAndKeepTheOldSummary) {
    for (const auto& [name, program] : scans) {
        SCOPED_TRACE(name);
        TempDir dir;
        const std::string job = (dir / "job").string();
        for (const auto& args : std::vector<Names>{{}, {job}, {dir.path().string(), job, "80"}}) {
            const auto result = run(program, args);
            EXPECT_EQ(result.exitCode, 2);
            EXPECT_EQ(result.out + result.err, "Usage: " + name + " SOURCE TMP\n");
        }
        EXPECT_TRUE(listTree(dir.path()).empty());

        writeFile(dir / "plain", "");
        writeFile(dir / "job/summary.txt", "7|3|4|0\n");
        fs::create_directory(dir / "job/files.txt");
        for (const fs::path& target : {dir / "plain/job", dir / "job"}) {
            const auto result = run(program, {dir.path().string(), target.string()});
            EXPECT_EQ(result.exitCode, 3);
            EXPECT_EQ(result.out + result.err, "Cannot open temporary files.\n");
        }
        EXPECT_EQ(readFile(dir / "job/summary.txt"), "7|3|4|0\n");
    }
}

TEST(ScanJob, SummaryThatCannotBeWrittenFailsTheScanAfterTheWorkList) {
    for (const auto& [name, program] : scans) {
        SCOPED_TRACE(name);
        TempDir dir;
        writeFile(dir / "src/a1.jpg", "");
        writeFile(dir / "job/summary.txt/blocker", "");
        const auto result = run(program, {(dir / "src").string(), (dir / "job").string()});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out + result.err, "Cannot write summary.txt: Is a directory\n");
        EXPECT_EQ(readFile(dir / "job/files.txt"), (dir / "src/a1.jpg").string() + "\n");
    }
}

}  // namespace
}  // namespace velmora
