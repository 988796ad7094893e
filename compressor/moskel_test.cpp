// SPDX-License-Identifier: GPL-3.0-or-later
// Black-box tests of Moskel on real folder trees, with the real encoder and
// with a fake image tool placed beside a copy of Moskel.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "job_protocol.h"
#include "test_images.h"
#include "test_jpegs.h"
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
    /// done|failed|outputBytes|inputBytes|total|kept|uncompressed of the status line.
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

TEST(Moskel, RefusedCallsTouchNothing) {
    Job job;
    job.add("a.jpg", "x");
    // A work list in the current folder, which an empty SOURCE or TMP must not name.
    writeFile(job.root / "files.txt", (job.source / "a.jpg").string() + "\n");
    const Names before = listTree(job.root.path());
    const std::string source = job.source, tmp = job.tmp;
    EXPECT_EQ(run(MOSKEL_PATH, {source, tmp, "50"}).exitCode, 2);
    EXPECT_EQ(run(MOSKEL_PATH, {source, tmp, "50", "4", "x"}).exitCode, 2);
    EXPECT_EQ(run(MOSKEL_PATH, {source, tmp, "50", "4"}).exitCode, 3);  // no files.txt
    job.list(job.listed);
    for (const Names& args : {Names{"", tmp, "50", "1"}, Names{source, "", "50", "1"}})
        EXPECT_EQ(run(MOSKEL_PATH, args, job.root.path()).exitCode, 3);
    writeFile(job.tmp / "files.txt", "\xC3\x28\n");
    EXPECT_EQ(run(MOSKEL_PATH, {source, tmp, "50", "4"}).exitCode, 3);
    // A FIFO is refused at once; timeout ends a hanging Moskel with 124.
    fs::remove(job.tmp / "files.txt");
    ASSERT_EQ(::mkfifo((job.tmp / "files.txt").c_str(), 0600), 0);
    EXPECT_EQ(run("/usr/bin/timeout", {"20", MOSKEL_PATH, source, tmp, "50", "1"}).exitCode, 3);
    fs::remove(job.tmp / "files.txt");
    EXPECT_EQ(listTree(job.root.path()), before);
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
        EXPECT_EQ(job.counters(), "0|0|0|0|0|0|0");
    }
}

// The fake tool's JPEG is 17 bytes: a source must be larger to be compressed.
const std::string kLongerThanTheFakeJpeg(32, '.');

TEST(Moskel, CompressesEveryFormatAsJpgNamedFiles) {
    Job job;
    const auto samples = writeSamplePhotos(job.source / "phone");
    for (const auto& sample : samples)
        job.listed.push_back(job.source / "phone" / sample.name);
    job.add("broken/IMG_9.png", "this is no image");

    ASSERT_EQ(job.run(MOSKEL_PATH, "40", "3").exitCode, 0);
    const fs::path outdir = job.source / "COMPRESSED_40";
    // Re-encoded files end in ".jpg", JPEG sources keep their name; alpha.png
    // and alpha.webp meet at alpha.jpg. A sample whose re-encoding came out no
    // smaller is kept as it was, under its own name; a file that is no image
    // is copied unchanged. The output list says which is which.
    const std::map<std::string, std::string> stemOf = {
        {"alpha.png", "alpha"}, {"alpha.webp", "alpha"}, {"palette.png", "palette"},
        {"deep.tif", "deep"},   {"pages.tiff", "pages"}, {"phone.heic", "phone"}};
    std::map<std::string, std::pair<std::string, fs::path>> outputs;
    for (const auto& line : testkit::splitText(readFile(job.tmp / "outputs.txt"))) {
        const auto fields = testkit::splitText(line, '\t');
        ASSERT_EQ(fields.size(), 3u) << line;
        outputs[fs::path(fields[0]).filename()] = {fields[1], fields[2]};
    }
    ASSERT_EQ(outputs.size(), samples.size() + 1);
    int kept = 0;
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.name);
        const auto& [result, output] = outputs.at(sample.name);
        EXPECT_EQ(output.parent_path(), outdir);
        if (result == "kept") {
            ++kept;
            EXPECT_EQ(output.filename(), sample.name);
            EXPECT_EQ(readFile(output), readFile(job.source / "phone" / sample.name));
            continue;
        }
        EXPECT_EQ(result, "compressed");
        const auto stem = stemOf.find(sample.name);
        if (stem == stemOf.end()) {
            EXPECT_EQ(output.filename(), sample.name);
        } else {
            EXPECT_TRUE(output.filename() == stem->second + ".jpg" ||
                        output.filename() == stem->second + " (1).jpg");
        }
        EXPECT_EQ(outputProblem(output, sample), "");
        EXPECT_LT(fs::file_size(output), fs::file_size(job.source / "phone" / sample.name));
    }
    EXPECT_LT(kept, 3);
    EXPECT_EQ(outputs.at("IMG_9.png"),
              std::pair(std::string("uncompressed"), outdir / "IMG_9.png"));
    EXPECT_EQ(readFile(outdir / "IMG_9.png"), "this is no image");
    EXPECT_EQ(readFile(job.tmp / "uncompressed.txt"),
              (job.source / "broken/IMG_9.png").string() +
                  "\tnot-image\tnot a readable image (encoder failed: exit status 1)\n");
    const Names names = listTree(outdir);
    EXPECT_EQ(names.size(), outputs.size());
    const std::string count = std::to_string(names.size());
    EXPECT_EQ(job.counters(), count + "|0|" + std::to_string(folderBytes(outdir)) + "|" +
                                  std::to_string(sizeSum(job.listed)) + "|" + count + "|" +
                                  std::to_string(kept) + "|1");
}

// Photos already at or below the run's quality keep their pixels exactly:
// rewritten losslessly when that is smaller, else kept as they were. None
// comes out larger; a photo above that quality is re-encoded at it. Every
// output has its source's times.
TEST(Moskel, NeverQuantizesAPhotoAtOrBelowTheQualityAgain) {
    Job job;
    JpegRecipe q35;
    q35.quality = 35;
    JpegRecipe thumbnail;
    thumbnail.width = thumbnail.height = 64;
    thumbnail.quality = 30;
    thumbnail.optimizeCoding = true;
    JpegRecipe q95;
    q95.quality = 95;
    const std::map<std::string, JpegRecipe> photos = {
        {"q35.jpg", q35}, {"thumb.jpg", thumbnail}, {"q95.jpg", q95}};
    const timespec times[2] = {{1'600'000'000, 123'456'789}, {1'500'000'000, 987'654'321}};
    for (const auto& [name, recipe] : photos) {
        const fs::path photo = job.add(name, makeJpeg(recipe));
        ASSERT_EQ(::utimensat(AT_FDCWD, photo.c_str(), times, 0), 0);
    }
    ASSERT_EQ(job.run().exitCode, 0);

    std::map<std::string, std::pair<std::string, fs::path>> outputs;
    for (const auto& line : testkit::splitText(readFile(job.tmp / "outputs.txt"))) {
        const auto fields = testkit::splitText(line, '\t');
        ASSERT_EQ(fields.size(), 3u) << line;
        outputs[fs::path(fields[0]).filename()] = {fields[1], fields[2]};
    }
    ASSERT_EQ(outputs.size(), photos.size());
    int kept = 0;
    for (const auto& [name, recipe] : photos) {
        SCOPED_TRACE(name);
        const auto& [result, output] = outputs.at(name);
        // Before reading it, which may change its access time.
        const struct stat info = statOf(output);
        EXPECT_EQ(info.st_mtim.tv_sec, times[1].tv_sec);
        EXPECT_EQ(info.st_mtim.tv_nsec, times[1].tv_nsec);
        EXPECT_EQ(info.st_atim.tv_sec, times[0].tv_sec);
        EXPECT_EQ(info.st_atim.tv_nsec, times[0].tv_nsec);
        const std::string source = readFile(job.source / name);
        const std::string made = readFile(output);
        const DecodedJpeg before = decodeJpeg(source);
        const DecodedJpeg after = decodeJpeg(made);
        ASSERT_TRUE(after.ok);
        EXPECT_EQ(output.filename(), name);
        if (recipe.quality <= 50) {
            EXPECT_TRUE(after.pixels == before.pixels) << "the pixels changed";
            EXPECT_EQ(after.tables, before.tables);
            EXPECT_LE(made.size(), source.size());
            if (result == "kept") {
                ++kept;
                EXPECT_EQ(made, source);
            } else {
                EXPECT_EQ(result, "compressed");
                EXPECT_LT(made.size(), source.size());
            }
        } else {
            EXPECT_EQ(result, "compressed");
            EXPECT_EQ(after.tables[0], kAnnexKLuma);
            EXPECT_LT(made.size(), source.size());
        }
    }
    EXPECT_EQ(outputs.at("q35.jpg").first, "compressed");
    const fs::path outdir = job.source / "COMPRESSED_50";
    EXPECT_EQ(job.counters(), "3|0|" + std::to_string(folderBytes(outdir)) + "|" +
                                  std::to_string(sizeSum(job.listed)) + "|3|" +
                                  std::to_string(kept) + "|0");
}

TEST(Moskel, SameNamedPhotosEachGetTheirOwnOutput) {
    Job job;
    const std::string photo = jpegBytes(200, 150);
    for (int k = 0; k < 24; ++k)
        job.add("day" + std::to_string(k) + "/IMG_1.jpg", photo);
    ASSERT_EQ(job.run().exitCode, 0);
    const fs::path outdir = job.source / "COMPRESSED_50";
    const auto first = listTree(outdir);
    const std::string counters = job.counters();
    // A second run finds every output made from its own source, and makes
    // none of them again.
    ASSERT_EQ(job.run().exitCode, 0);
    EXPECT_EQ(job.counters(), counters);

    std::set<std::string> expected = {"IMG_1.jpg"};
    for (int k = 1; k < 24; ++k)
        expected.insert("IMG_1 (" + std::to_string(k) + ").jpg");
    const auto names = listTree(outdir);
    EXPECT_EQ(names, first);
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
    EXPECT_EQ(job.counters(), "2|2|0|" + std::to_string(sizeSum(job.listed)) + "|2|0|0");
}

TEST(Moskel, FallsBackToAnExactCopyOfItsOwnWhenTheToolFails) {
    Job job;
    TempDir bin;
    for (const char* name :
         {"unreadable.jpg", "partial.png", "nothing.heic", "garbage.jpg", "good.jpg"})
        job.add(name, std::string("source of ") + name);
    // Racing same-named photos, half of which fall back: each fallback
    // gets a name of its own.
    for (int k = 0; k < 40; ++k)
        job.add((k % 2 ? "partial" : "good") + std::to_string(k) + "/IMG.jpg",
                "photo " + std::to_string(k) + kLongerThanTheFakeJpeg);
    // Read from the descriptor opened before the tool ran, a photo deleted
    // meanwhile is still copied whole.
    job.add("vanish.jpg", "gone");
    // A copy that finds no room fails, and says why.
    const fs::path large = job.add("unreadable-large.jpg", std::string(3 << 20, 'L'));
    const std::int64_t inputBytes = sizeSum(job.listed);
    job.list(job.listed);
    const fs::path moskel = moskelWithTool(bin, FAKE_TOOL_PATH);
    ASSERT_EQ(runAfter("ulimit -f 1024 && trap '' XFSZ", moskel, {job.source, job.tmp, "50", "8"})
                  .exitCode,
              0);

    const fs::path outdir = job.source / "COMPRESSED_50";
    for (const char* name :
         {"unreadable.jpg", "partial.png", "nothing.heic", "garbage.jpg", "vanish.jpg"}) {
        EXPECT_EQ(readFile(outdir / name),
                  name == std::string("vanish.jpg") ? "gone" : std::string("source of ") + name);
    }
    EXPECT_TRUE(readFile(outdir / "good.jpg").starts_with("\xFF\xD8\xFF"));
    EXPECT_FALSE(fs::exists(outdir / "unreadable-large.jpg"));
    std::multiset<std::string> kinds;
    for (const auto& name : listTree(outdir)) {
        const std::string content = readFile(outdir / name);
        if (name.starts_with("IMG"))
            kinds.insert(content.starts_with("photo ") ? content : "jpeg");
    }
    EXPECT_EQ(kinds.size(), 40u);
    EXPECT_EQ(kinds.count("jpeg"), 20u);
    for (int k = 1; k < 40; k += 2)
        EXPECT_EQ(kinds.count("photo " + std::to_string(k) + kLongerThanTheFakeJpeg), 1u);
    EXPECT_EQ(listTree(outdir).size(), 46u);
    EXPECT_EQ(job.counters(), "47|1|" + std::to_string(folderBytes(outdir)) + "|" +
                                  std::to_string(inputBytes) + "|47|0|25");
    EXPECT_EQ(readFile(job.tmp / "failures.txt"), large.string() + "\tother\tFile too large\n");
}

TEST(Moskel, WritesTheStatusEveryFourFinishedPhotos) {
    Job job;
    TempDir bin;
    for (int k = 0; k < 9; ++k)
        job.add("status" + std::to_string(k) + ".jpg", "x" + kLongerThanTheFakeJpeg);
    ASSERT_EQ(job.run(moskelWithTool(bin, FAKE_TOOL_PATH), "50", "1").exitCode, 0);

    // What the tool saw in the status file before each photo.
    std::vector<std::string> doneSeen;
    const std::string seen = readFile(job.root / "seen.txt");
    for (std::size_t at = 0; at < seen.size(); at = seen.find('\n', at) + 1)
        doneSeen.push_back(seen.substr(at, seen.find('|', at) - at));
    EXPECT_EQ(doneSeen, (Names{"0", "0", "0", "0", "4", "4", "4", "4", "8"}));
    const std::int64_t outputBytes = folderBytes(job.source / "COMPRESSED_50");
    EXPECT_EQ(job.counters(), "9|0|" + std::to_string(outputBytes) + "|" +
                                  std::to_string(sizeSum(job.listed)) + "|9|0|0");
}

// Hostile job folders and planted links, and runs that end badly.

TEST(Moskel, NeverWritesThroughAPlantedOutputLink) {
    Job job;
    const fs::path outside = job.root / "outside";
    fs::create_directories(outside);
    const fs::path photo = job.add("IMG_1.jpg", jpegBytes(64, 48));
    fs::create_directory_symlink("../outside", job.source / "COMPRESSED_50");
    ASSERT_EQ(job.run().exitCode, 0);
    EXPECT_TRUE(listTree(outside).empty());
    EXPECT_EQ(job.counters(), "1|1|0|" + std::to_string(sizeSum(job.listed)) + "|1|0|0");
    EXPECT_EQ(readFile(job.tmp / "failures.txt"),
              photo.string() + "\tfolder-link\toutput folder is a link\n");
}

TEST(Moskel, ReadsRegularFilesOnly) {
    Job job;
    const std::string failures = job.listNonPhotos(jpegBytes(64, 48));

    ASSERT_EQ(run(MOSKEL_PATH, {job.source, job.tmp, "50", "1"}, job.root.path()).exitCode, 0);
    EXPECT_TRUE(listTree(job.source / "COMPRESSED_50").empty());
    EXPECT_EQ(job.counters(), "4|4|0|0|4|0|0");
    EXPECT_EQ(readFile(job.tmp / "failures.txt"), failures);
}

TEST(Moskel, KilledRunLeavesNoOutputAndItsEncodersDieWithIt) {
    Job job;
    TempDir bin;
    const fs::path moskel = moskelWithTool(bin, FAKE_TOOL_PATH);
    const std::vector<fs::path> photos = {job.add("a/sleep_1.png", "one" + kLongerThanTheFakeJpeg),
                                          job.add("b/sleep_1.png", "two" + kLongerThanTheFakeJpeg)};
    job.list(job.listed);
    Background killed({moskel, job.source, job.tmp, "80", "2"});
    ASSERT_GT(killed.pid(), 0);

    // Both encoders are writing when Moskel is killed.
    std::vector<pid_t> encoders;
    ASSERT_TRUE(eventually([&] {
        return fs::exists(photos[0].string() + ".pid") && fs::exists(photos[1].string() + ".pid");
    }));
    for (const auto& photo : photos)
        encoders.push_back(std::stoi(readFile(photo.string() + ".pid")));
    killed.kill();
    for (const pid_t encoder : encoders)
        EXPECT_TRUE(eventually([&] { return hasEnded(encoder); })) << encoder;
    const fs::path outdir = job.source / "COMPRESSED_80";
    const Names left = listTree(outdir);
    EXPECT_TRUE(std::all_of(left.begin(), left.end(), [](const std::string& name) {
        return name.starts_with(".velmora-");
    })) << left.size();

    // The next run removes what the killed one left and gives the photos their names.
    ASSERT_EQ(run(moskel, {job.source, job.tmp, "80", "2"}).exitCode, 0);
    EXPECT_EQ(listTree(outdir), (Names{"sleep_1 (1).jpg", "sleep_1.jpg"}));
}

// An encoder ended by a stop signal before Moskel has seen its own (the
// signal goes to the whole process group) leaves its photo not done: never
// copied unchanged as if it were no image.
TEST(Moskel, PhotoOfAnEncoderEndedByAStopSignalIsLeftNotDone) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        Job job;
        TempDir bin;
        const fs::path photo = job.add("sleep_1.png", "one" + kLongerThanTheFakeJpeg);
        job.add("IMG_2.jpg", "two" + kLongerThanTheFakeJpeg);
        job.list(job.listed);
        Background moskel({moskelWithTool(bin, FAKE_TOOL_PATH), job.source, job.tmp, "80", "1"});
        ASSERT_TRUE(eventually([&] { return fs::exists(photo.string() + ".pid"); }));
        ::kill(std::stoi(readFile(photo.string() + ".pid")), signal);
        EXPECT_EQ(moskel.wait(), 0);
        EXPECT_EQ(listTree(job.source / "COMPRESSED_80"), Names{"IMG_2.jpg"});
        EXPECT_EQ(readFile(job.tmp / "uncompressed.txt"), "");
        EXPECT_EQ(readFile(job.tmp / "failures.txt"), "");
        EXPECT_EQ(job.counters().substr(0, 4), "1|0|");
    }
}

// Stopped by SIGTERM (Ctrl-C or the window's STOP), Moskel lets no new photo
// start, leaves the photos whose encoders it stopped not done, counts every
// output it wrote, removes its temporary area and dies of the same signal.
TEST(Moskel, StoppedRunCountsEveryOutputAndLeavesNoTemporaryArea) {
    Job job;
    TempDir bin;
    const fs::path moskel = moskelWithTool(bin, FAKE_TOOL_PATH);
    for (int k = 1; k <= 6; ++k)
        job.add("quick/IMG_" + std::to_string(k) + ".png", "q" + kLongerThanTheFakeJpeg);
    const std::vector<fs::path> slow = {job.add("slow/sleep_1.png", "s1" + kLongerThanTheFakeJpeg),
                                        job.add("slow/sleep_2.png", "s2" + kLongerThanTheFakeJpeg)};
    for (int k = 7; k <= 12; ++k)
        job.add("late/IMG_" + std::to_string(k) + ".png", "l" + kLongerThanTheFakeJpeg);
    job.list(job.listed);
    Background stopped({moskel, job.source, job.tmp, "80", "2"});
    ASSERT_GT(stopped.pid(), 0);
    ASSERT_TRUE(eventually([&] {
        return fs::exists(slow[0].string() + ".pid") && fs::exists(slow[1].string() + ".pid");
    }));
    ::kill(stopped.pid(), SIGTERM);
    EXPECT_EQ(stopped.wait(), 128 + SIGTERM);

    const fs::path outdir = job.source / "COMPRESSED_80";
    const Names outputs = listTree(outdir);
    EXPECT_EQ(outputs.size(), 6u);  // the quick ones; the late ones never started
    for (const std::string& name : outputs)
        EXPECT_TRUE(name.starts_with("IMG_")) << name;
    EXPECT_EQ(job.counters().substr(0, 4), "6|0|");
    EXPECT_EQ(testkit::splitText(readFile(job.tmp / "outputs.txt")).size(), 6u);
    EXPECT_EQ(readFile(job.tmp / "failures.txt"), "");
}

TEST(Moskel, OutputsTakeTheSourcesPermissionsWithinTheUmask) {
    TempDir bin;
    const fs::path moskel = moskelWithTool(bin, FAKE_TOOL_PATH);
    // Photo, its mode, the umask of the run, the output and its mode.
    const std::tuple<const char*, mode_t, const char*, const char*, mode_t> rows[] = {
        {"private.jpg", 0600, "022", "private.jpg", 0600},
        {"shared.png", 0644, "022", "shared.jpg", 0644},
        {"shared.jpg", 0644, "077", "shared.jpg", 0600},
        {"unreadable-private.jpg", 0640, "027", "unreadable-private.jpg", 0640},  // a fallback copy
        {"unreadable-open.jpg", 0666, "002", "unreadable-open.jpg", 0664},
    };
    for (const auto& [name, mode, umask, output, outputMode] : rows) {
        SCOPED_TRACE(name);
        Job job;
        const fs::path photo = job.add(name, "photo" + kLongerThanTheFakeJpeg);
        ASSERT_EQ(::chmod(photo.c_str(), mode), 0);
        job.list(job.listed);
        ASSERT_EQ(runAfter(std::string("umask ") + umask, moskel, {job.source, job.tmp, "50", "1"})
                      .exitCode,
                  0);
        EXPECT_EQ(statOf(job.source / "COMPRESSED_50" / output).st_mode & 07777, outputMode);
    }
}

TEST(Moskel, CompressesPhotosDeeperThanPathMax) {
    Job job;
    const fs::path deep = makeDeepFolder(job.source, 2200);
    writeDeepFile(deep / "IMG_5.png", readFile(job.photo("seed.jpg", jpegBytes(64, 48))));
    job.list({deep / "IMG_5.png"});
    ASSERT_EQ(testkit::run(MOSKEL_PATH, {job.source, job.tmp, "50", "1"}).exitCode, 0);
    EXPECT_TRUE(readFile(job.source / "COMPRESSED_50" / "IMG_5.jpg").starts_with("\xFF\xD8\xFF"));
    EXPECT_TRUE(job.counters().starts_with("1|0|")) << job.counters();
}

}  // namespace
}  // namespace velmora::testkit
