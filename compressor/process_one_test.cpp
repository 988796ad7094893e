// processOne with a fake image tool: resource limits and a tool that hangs
// or cannot start.
#include "process_one.h"

#include <gtest/gtest.h>

#include <tuple>

#include "test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::listTree;
using testkit::readFile;
using testkit::TempDir;
using testkit::writeFile;

CompressSettings settingsWith(const TempDir& dir, ToolLimits limits,
                              fs::path limiter = LIMITER_PATH) {
    fs::create_directories(dir / "out");
    return {dir / "out", 50, ImageTool{FAKE_TOOL_PATH, std::move(limiter), limits}};
}

/// The outcome as one comparable value.
std::tuple<bool, std::int64_t, std::int64_t> fields(const FileOutcome& outcome) {
    return {outcome.success, outcome.sourceBytes, outcome.outputBytes};
}

TEST(ProcessOne, ToolRunsUnderItsLimitsAndAHangingOneIsStopped) {
    TempDir dir;
    writeFile(dir / "limits.jpg", "photo");
    // The tool writes its limits and exits 3, so the photo is copied.
    EXPECT_TRUE(processOne(dir / "limits.jpg", settingsWith(dir, {7, kToolAddressSpace})).success);
    const std::string addressSpace =
        kToolAddressSpace > 0 ? std::to_string(kToolAddressSpace) : "unlimited";
    EXPECT_EQ(readFile(dir / "limits.jpg.limits"), "7 " + addressSpace);

    writeFile(dir / "hang.jpg", "a photo that never finishes");
    const FileOutcome hung = processOne(dir / "hang.jpg", settingsWith(dir, {1, 0}));
    EXPECT_EQ(fields(hung), std::tuple(true, 27, 27));
    EXPECT_EQ(readFile(dir / "out" / "hang.jpg"), "a photo that never finishes");
}

TEST(ProcessOne, ToolThatCannotStartLeavesNothing) {
    TempDir dir;
    writeFile(dir / "good.jpg", "photo");
    const FileOutcome outcome =
        processOne(dir / "good.jpg", settingsWith(dir, {}, dir / "no-such-limiter"));
    EXPECT_EQ(fields(outcome), std::tuple(false, 5, 0));
    EXPECT_TRUE(listTree(dir / "out").empty());
}

}  // namespace
}  // namespace velmora
