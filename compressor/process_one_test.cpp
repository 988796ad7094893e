// SPDX-License-Identifier: GPL-3.0-or-later
// processOne with a fake image tool: resource limits, a tool that hangs or
// cannot start, and the limiter's tie to its parent.
#include "process_one.h"

#include <fcntl.h>

#include <gtest/gtest.h>

#include <tuple>

#include "resource_limits.h"
#include "test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::listTree;
using testkit::readFile;
using testkit::TempDir;
using testkit::writeFile;

/// Settings for an output folder "out" in `dir`, with the fake tool.
struct Settings {
    CompressSettings settings;
    FolderCache cache;

    Settings(const TempDir& dir, ToolLimits limits, fs::path limiter = LIMITER_PATH) {
        settings.outdir = makeWorkerFolder(openPhotoFolder(dir.path()), "out", "output folder");
        settings.tool = ImageTool{FAKE_TOOL_PATH, std::move(limiter), limits};
        settings.output = std::make_unique<PublishFolder>(settings.outdir.handle.get());
    }
    FileOutcome process(const fs::path& photo) { return processOne(photo, settings, cache); }
};

/// The outcome as one comparable value.
std::tuple<FileResult, std::int64_t, std::int64_t, std::string> fields(const FileOutcome& outcome) {
    return {outcome.result, outcome.sourceBytes, outcome.outputBytes, outcome.failure.text};
}

TEST(ProcessOne, ToolRunsUnderItsLimitsAndAHangingOneIsStopped) {
    TempDir dir;
    writeFile(dir / "limits.jpg", "photo");
    // The tool writes its limits and exits 1, so the photo is copied.
    EXPECT_TRUE(Settings(dir, {7, kToolAddressSpace}).process(dir / "limits.jpg").success());
    const std::string addressSpace =
        kToolAddressSpace > 0 ? std::to_string(kToolAddressSpace) : "unlimited";
    EXPECT_EQ(readFile(dir / "limits.jpg.limits"), "7 " + addressSpace);

    writeFile(dir / "hang.jpg", "a photo that never finishes");
    const FileOutcome hung = Settings(dir, {1, 0}).process(dir / "hang.jpg");
    // The limit's signal ends it: not an image it could read, so the photo is copied.
    EXPECT_EQ(fields(hung),
              std::tuple(FileResult::Uncompressed, 27, 27,
                         "not a readable image (encoder failed: ended by signal 24)"));
    EXPECT_EQ(readFile(dir / "out" / "hang.jpg"), "a photo that never finishes");
}

TEST(ProcessOne, ToolThatCannotStartLeavesNothing) {
    TempDir dir;
    writeFile(dir / "good.jpg", "photo");
    const FileOutcome outcome =
        Settings(dir, {}, dir / "no-such-limiter").process(dir / "good.jpg");
    EXPECT_EQ(fields(outcome), std::tuple(FileResult::Failed, 5, 0,
                                          "encoder could not start: No such file or directory"));
    EXPECT_TRUE(listTree(dir / "out").empty());
}

TEST(ProcessOne, LimiterRunsNothingForAParentAlreadyGone) {
    TempDir dir;
    // Started by this test, whose parent it is not told: it gives up.
    const auto result = testkit::run(
        LIMITER_PATH, {"1", "10", "0", "/bin/sh", "-c", "echo ran > " + (dir / "ran").string()});
    EXPECT_EQ(result.exitCode, kLimitParentGoneExit);
    EXPECT_FALSE(fs::exists(dir / "ran"));
}

}  // namespace
}  // namespace velmora
