// Black-box tests of Moskel on real folder trees, with the real encoder and
// with a fake image tool placed beside a copy of Moskel.
#include <gtest/gtest.h>

#include <set>

#include "job_protocol.h"
#include "test_images.h"
#include "test_support.h"

namespace velmora::testkit {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

/// A compress job; the photos it lists are written as they are added.
struct Job : JobFolders {
    std::vector<fs::path> listed;

    fs::path add(const fs::path& relative, const std::string& content) {
        listed.push_back(photo(relative, content));
        return listed.back();
    }
    RunResult run(const fs::path& moskel = MOSKEL_PATH, const std::string& quality = "50",
                  const std::string& workers = "8") const {
        list(listed);
        return testkit::run(moskel, {source, tmp, quality, workers});
    }
    /// done|failed|outputBytes|inputBytes|total of the status line.
    std::string counters() const {
        using Field = job::CompressStatusField;
        return statusCounters(readFile(tmp / "status.txt"), Field::count, Field::elapsed);
    }
};

std::int64_t sizeSum(const std::vector<fs::path>& files) {
    std::int64_t sum = 0;
    for (const auto& file : files)
        sum += fs::file_size(file);
    return sum;
}

std::int64_t folderBytes(const fs::path& folder) {
    std::int64_t sum = 0;
    for (const auto& name : listTree(folder))
        sum += fs::file_size(folder / name);
    return sum;
}

/// A copy of Moskel in its own folder with `tool` beside it as its encoder.
fs::path moskelWithTool(const TempDir& dir, const fs::path& tool) {
    fs::copy_file(MOSKEL_PATH, dir / "Moskel");
    fs::copy_file(LIMITER_PATH, dir / "velmora-limit");
    if (!tool.empty())
        fs::copy_file(tool, dir / "velmora-encode");
    return dir / "Moskel";
}

TEST(Moskel, RefusesWrongArgumentsAndAMissingWorkList) {
    Job job;
    job.photo("a.jpg", "x");
    const std::string source = job.source, tmp = job.tmp;
    EXPECT_EQ(run(MOSKEL_PATH, {source, tmp, "50"}).exitCode, 2);
    EXPECT_EQ(run(MOSKEL_PATH, {source, tmp, "50", "4", "x"}).exitCode, 2);
    EXPECT_EQ(run(MOSKEL_PATH, {source, tmp, "50", "4"}).exitCode, 3);
    writeFile(job.tmp / "files.txt", "\xC3\x28\n");
    EXPECT_EQ(run(MOSKEL_PATH, {source, tmp, "50", "4"}).exitCode, 3);
    EXPECT_EQ(listTree(job.root.path()),
              (Names{"job/", "job/files.txt", "photos/", "photos/a.jpg"}));
}

TEST(Moskel, QualityNamesTheOutputFolder) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"abc", "COMPRESSED_50"}, {"0", "COMPRESSED_1"},    {"150", "COMPRESSED_100"},
        {"-5", "COMPRESSED_1"},   {"+75", "COMPRESSED_75"}, {" 50", "COMPRESSED_50"}};
    for (const auto& [quality, folder] : cases) {
        SCOPED_TRACE(quality);
        Job job;
        ASSERT_EQ(job.run(MOSKEL_PATH, quality).exitCode, 0);
        EXPECT_TRUE(fs::is_directory(job.source / folder));
        EXPECT_EQ(job.counters(), "0|0|0|0|0");
    }
}

TEST(Moskel, CompressesEveryFormatUnderItsOwnName) {
    Job job;
    const auto samples = writeSamplePhotos(job.source / "phone");
    for (const auto& sample : samples)
        job.listed.push_back(job.source / "phone" / sample.name);
    job.add("broken/IMG_9.png", "this is no image");

    ASSERT_EQ(job.run(MOSKEL_PATH, "90", "3").exitCode, 0);
    const fs::path outdir = job.source / "COMPRESSED_90";
    std::vector<fs::path> outputs;
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.name);
        outputs.push_back(outdir / sample.name);
        EXPECT_EQ(outputProblem(outputs.back(), sample), "");
    }
    outputs.push_back(outdir / "IMG_9.png");
    EXPECT_EQ(readFile(outputs.back()), "this is no image");
    EXPECT_EQ(listTree(outdir).size(), outputs.size());
    const std::string count = std::to_string(outputs.size());
    EXPECT_EQ(job.counters(), count + "|0|" + std::to_string(sizeSum(outputs)) + "|" +
                                  std::to_string(sizeSum(job.listed)) + "|" + count);
}

TEST(Moskel, SameNamedPhotosEachGetTheirOwnOutput) {
    Job job;
    const std::string photo = jpegBytes(200, 150);
    for (int k = 0; k < 24; ++k)
        job.add("day" + std::to_string(k) + "/IMG_1.jpg", photo);
    ASSERT_EQ(job.run().exitCode, 0);
    ASSERT_EQ(job.run().exitCode, 0);  // a second run adds numbered names beside the first

    const fs::path outdir = job.source / "COMPRESSED_50";
    std::set<std::string> expected = {"IMG_1.jpg"};
    for (int k = 1; k < 48; ++k)
        expected.insert("IMG_1 (" + std::to_string(k) + ").jpg");
    const auto names = listTree(outdir);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
    for (const auto& name : names) {
        const std::string output = readFile(outdir / name);
        EXPECT_TRUE(output.starts_with("\xFF\xD8\xFF") && output.size() < photo.size()) << name;
    }
    EXPECT_TRUE(job.counters().starts_with("24|0|")) << job.counters();
}

TEST(Moskel, WithoutAToolEveryPhotoFailsAndNothingIsWritten) {
    Job job;
    TempDir alone;
    job.add("a.jpg", jpegBytes(64, 48));
    job.add("b/c.png", "png?");
    ASSERT_EQ(job.run(moskelWithTool(alone, {})).exitCode, 0);
    EXPECT_TRUE(listTree(job.source / "COMPRESSED_50").empty());
    EXPECT_EQ(job.counters(), "2|2|0|" + std::to_string(sizeSum(job.listed)) + "|2");
}

TEST(Moskel, FallsBackToAnExactCopyOfItsOwnWhenTheToolFails) {
    Job job;
    TempDir bin;
    for (const char* name : {"exit3.jpg", "partial.png", "nothing.heic", "garbage.jpg", "good.jpg"})
        job.add(name, std::string("source of ") + name);
    // Racing same-named photos, half of which fall back: each fallback
    // replaces its own reserved output only.
    for (int k = 0; k < 40; ++k)
        job.add((k % 2 ? "partial" : "good") + std::to_string(k) + "/IMG.jpg",
                "photo " + std::to_string(k));
    const std::int64_t inputBytes = sizeSum(job.listed) + 4;
    job.add("vanish.jpg", "gone");
    ASSERT_EQ(job.run(moskelWithTool(bin, FAKE_TOOL_PATH)).exitCode, 0);

    const fs::path outdir = job.source / "COMPRESSED_50";
    for (const char* name : {"exit3.jpg", "partial.png", "nothing.heic", "garbage.jpg"})
        EXPECT_EQ(readFile(outdir / name), std::string("source of ") + name);
    EXPECT_TRUE(readFile(outdir / "good.jpg").starts_with("\xFF\xD8\xFF"));
    EXPECT_FALSE(fs::exists(outdir / "vanish.jpg"));
    std::multiset<std::string> kinds;
    for (const auto& name : listTree(outdir)) {
        const std::string content = readFile(outdir / name);
        if (name.starts_with("IMG"))
            kinds.insert(content.starts_with("photo ") ? content : "jpeg");
    }
    EXPECT_EQ(kinds.size(), 40u);
    EXPECT_EQ(kinds.count("jpeg"), 20u);
    for (int k = 1; k < 40; k += 2)
        EXPECT_EQ(kinds.count("photo " + std::to_string(k)), 1u);
    EXPECT_EQ(listTree(outdir).size(), 45u);
    EXPECT_EQ(job.counters(), "46|1|" + std::to_string(folderBytes(outdir)) + "|" +
                                  std::to_string(inputBytes) + "|46");
}

TEST(Moskel, WritesTheStatusEveryFourFinishedPhotos) {
    Job job;
    TempDir bin;
    for (int k = 0; k < 9; ++k)
        job.add("status" + std::to_string(k) + ".jpg", "x");
    ASSERT_EQ(job.run(moskelWithTool(bin, FAKE_TOOL_PATH), "50", "1").exitCode, 0);

    // What the tool saw in the status file before each photo.
    std::vector<std::string> doneSeen;
    const std::string seen = readFile(job.root / "seen.txt");
    for (std::size_t at = 0; at < seen.size(); at = seen.find('\n', at) + 1)
        doneSeen.push_back(seen.substr(at, seen.find('|', at) - at));
    EXPECT_EQ(doneSeen, (Names{"0", "0", "0", "0", "4", "4", "4", "4", "8"}));
    const std::int64_t outputBytes = folderBytes(job.source / "COMPRESSED_50");
    EXPECT_EQ(job.counters(), "9|0|" + std::to_string(outputBytes) + "|9|9");
}

}  // namespace
}  // namespace velmora::testkit
