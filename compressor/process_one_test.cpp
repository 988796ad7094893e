// processOne with a fake image tool: resource limits and a tool that hangs
// or cannot start.
#include "process_one.h"

#include <gtest/gtest.h>

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

TEST(ProcessOne, ToolRunsUnderItsLimits) {
    TempDir dir;
    writeFile(dir / "limits.jpg", "photo");
    const auto settings = settingsWith(dir, {7, kToolAddressSpace});
    const FileOutcome outcome = processOne(dir / "limits.jpg", settings);

    EXPECT_TRUE(outcome.success);  // the tool exits 3: the photo is copied
    const std::string addressSpace =
        kToolAddressSpace > 0 ? std::to_string(kToolAddressSpace) : "unlimited";
    EXPECT_EQ(readFile(dir / "limits.jpg.limits"), "7 " + addressSpace);
}

TEST(ProcessOne, HangingToolIsStoppedByItsCpuLimit) {
    TempDir dir;
    writeFile(dir / "hang.jpg", "a photo that never finishes");
    const FileOutcome outcome = processOne(dir / "hang.jpg", settingsWith(dir, {1, 0}));

    EXPECT_TRUE(outcome.success);
    EXPECT_EQ(outcome.sourceBytes, 27);
    EXPECT_EQ(outcome.outputBytes, 27);
    EXPECT_EQ(readFile(dir / "out" / "hang.jpg"), "a photo that never finishes");
}

TEST(ProcessOne, ToolThatCannotStartLeavesNothing) {
    TempDir dir;
    writeFile(dir / "good.jpg", "photo");
    const FileOutcome outcome =
        processOne(dir / "good.jpg", settingsWith(dir, {}, dir / "no-such-limiter"));

    EXPECT_FALSE(outcome.success);
    EXPECT_EQ(outcome.sourceBytes, 5);
    EXPECT_EQ(outcome.outputBytes, 0);
    EXPECT_TRUE(listTree(dir / "out").empty());
}

}  // namespace
}  // namespace velmora
