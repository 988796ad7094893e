// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real Brevin program on real folder trees.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <csignal>
#include <fstream>
#include <map>
#include <set>
#include <thread>

#include "job_protocol.h"
#include "test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::listTree;
using testkit::readFile;
using testkit::statOf;
using testkit::writeFile;
using Names = std::vector<std::string>;
using Contents = std::map<std::string, std::string>;

/// "done|failed|bytes|total" of a whole status line, or "" for anything else.
std::string countersOf(std::string_view line) {
    using Field = job::SortStatusField;
    return testkit::statusCounters(line, Field::count, Field::elapsed);
}

/// A source folder of photos and a job folder beside it, for Brevin.
struct Job : testkit::JobFolders {
    Names args(const std::string& mode, const std::string& workers = "4") const {
        return {source, tmp, mode, workers, "1", "1"};
    }

    /// Runs Brevin, after the shell command `setup` when one is given.
    int run(const Names& args, const std::string& setup = {}) const {
        return (setup.empty() ? testkit::run(BREVIN_PATH, args, root.path())
                              : testkit::runAfter(setup, BREVIN_PATH, args))
            .exitCode;
    }

    std::string counters() const { return countersOf(readFile(tmp / "status.txt")); }

    /// True when the job folder holds nothing but the list, the status and
    /// an empty failure list.
    bool jobFolderIsClean() const {
        return listTree(tmp) == Names{"failures.txt", "files.txt", "outputs.txt", "status.txt"} &&
               failures().empty();
    }

    /// The failure list: "path\tcode\treason" lines.
    std::string failures() const { return readFile(tmp / "failures.txt"); }
};

// No file may grow beyond 1 MB, as on a nearly full disk: a write past that
// fails, or with SIGXFSZ left alone, the kernel kills Brevin part-way.
const std::string kNoRoom = "ulimit -f 2048 && trap '' XFSZ";
const std::string kKilledPartWay = "ulimit -f 1024";

/// A folder on /dev/shm, another file system than the jobs' in the
/// temporary folder, removed at the end; empty when there is none.
struct OtherFileSystem {
    fs::path folder;
    explicit OtherFileSystem(const Job& job) {
        const fs::path shm = "/dev/shm";
        if (::access(shm.c_str(), W_OK) == 0 &&
            statOf(shm).st_dev != statOf(job.root.path()).st_dev) {
            folder = shm / ("velmora-brevin-" + std::to_string(::getpid()));
        }
    }
    ~OtherFileSystem() {
        std::error_code ignored;
        if (!folder.empty())
            fs::remove_all(folder, ignored);
    }
};

/// Every item in `folder` by name, with its content ("/" for a folder).
Contents contentsIn(const fs::path& folder) {
    Contents contents;
    for (const auto& entry : fs::directory_iterator(folder)) {
        contents[entry.path().filename()] = entry.is_directory() ? "/" : readFile(entry.path());
    }
    return contents;
}

TEST(Brevin, RefusedCallsTouchNothing) {
    Job job;
    const fs::path photo = job.photo("IMG_1.jpg", "1");
    // A work list in the current folder, which an empty SOURCE or TMP must not name.
    writeFile(job.root / "files.txt", photo.string() + "\n");
    const Names before = listTree(job.root.path());
    const Names args = job.args("COPY");
    EXPECT_EQ(job.run(Names(args.begin(), args.end() - 1)), 2);
    Names tooMany = args;
    tooMany.push_back("1");
    EXPECT_EQ(job.run(tooMany), 2);
    EXPECT_EQ(job.run(args), 3);  // no files.txt
    job.list({photo});
    EXPECT_EQ(job.run({"", job.tmp, "MOVE", "1", "1", "1"}), 3);
    EXPECT_EQ(job.run({job.source, "", "MOVE", "1", "1", "1"}), 3);
    writeFile(job.tmp / "files.txt", photo.string() + "\n/photos/caf\xe9 2.jpg\n");
    const auto notUtf8 = testkit::run(BREVIN_PATH, args);
    EXPECT_EQ(notUtf8.exitCode, 3);
    EXPECT_EQ(notUtf8.out + notUtf8.err, "");
    // A FIFO is refused at once; timeout ends a hanging Brevin with 124.
    fs::remove(job.tmp / "files.txt");
    ASSERT_EQ(::mkfifo((job.tmp / "files.txt").c_str(), 0600), 0);
    Names timed = {"20", BREVIN_PATH};
    timed.insert(timed.end(), args.begin(), args.end());
    EXPECT_EQ(testkit::run("/usr/bin/timeout", timed).exitCode, 3);
    fs::remove(job.tmp / "files.txt");
    EXPECT_EQ(listTree(job.root.path()), before);
}

TEST(Brevin, EmptyListCreatesEveryFolderAndReportsZero) {
    Job job;
    writeFile(job.tmp / "files.txt", "\n\r\n");
    EXPECT_EQ(job.run({job.source, job.tmp, "MOVE", "abc", "9", "1"}), 0);
    EXPECT_EQ(listTree(job.source),
              (Names{"GANJIL_01/", "GANJIL_02/", "GANJIL_03/", "GANJIL_04/", "GANJIL_05/",
                     "GANJIL_06/", "GANJIL_07/", "GANJIL_08/", "GENAP/"}));
    EXPECT_EQ(job.counters(), "0|0|0|0");
    EXPECT_TRUE(job.jobFolderIsClean());
}

TEST(Brevin, CopyKeepsTheSourceItsTimeAndPermissionsAndLeavesNoPartialFile) {
    Job job;
    const fs::path photo = job.photo("a/IMG_1.jpg", "odd photo");
    ::chmod(photo.c_str(), 0440);
    const struct timespec times[2] = {{1500000000, 0}, {1400000000, 123456789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, photo.c_str(), times, 0), 0);
    const std::string big(3 << 20, 'b');
    const fs::path large = job.photo("IMG_2.jpg", big);
    job.list({photo, large, job.photo("IMG_4.jpg", "four")}, "\r\n");

    // The large copy runs out of room part-way and fails alone.
    EXPECT_EQ(job.run(job.args("copy", "1000000"), kNoRoom), 0);
    EXPECT_EQ(job.counters(), "3|1|13|3");
    EXPECT_EQ(job.failures(), large.string() + "\tother\tFile too large\n");
    const fs::path copy = job.source / "GANJIL" / "IMG_1.jpg";
    EXPECT_EQ(readFile(copy), "odd photo");
    EXPECT_EQ(readFile(photo), "odd photo");
    EXPECT_EQ(statOf(copy).st_mode & 07777, 0440u);
    EXPECT_EQ(statOf(copy).st_mtim.tv_sec, 1400000000);
    EXPECT_EQ(statOf(copy).st_mtim.tv_nsec, 123456789);
    EXPECT_EQ(listTree(job.source / "GENAP"), Names{"IMG_4.jpg"});
    EXPECT_EQ(readFile(large), big);
    EXPECT_EQ(listTree(job.tmp), (Names{"failures.txt", "files.txt", "outputs.txt", "status.txt"}));

    // Killed in the middle of the large copy, then run again: the photo
    // arrives whole under its own name.
    job.list({large});
    EXPECT_EQ(job.run(job.args("COPY"), kKilledPartWay), 128 + SIGXFSZ);
    EXPECT_EQ(listTree(job.source / "GENAP"), Names{"IMG_4.jpg"});
    EXPECT_EQ(job.run(job.args("COPY")), 0);
    EXPECT_EQ(listTree(job.source / "GENAP"), (Names{"IMG_2.jpg", "IMG_4.jpg"}));
    EXPECT_EQ(readFile(job.source / "GENAP" / "IMG_2.jpg"), big);
}

TEST(Brevin, CountsFailuresAndNeverReplacesAnything) {
    Job job;
    const fs::path first = job.photo("x/IMG_4.jpg", "first");
    const fs::path second = job.photo("y/IMG_4.jpg", "second");
    const fs::path superscript = job.photo("x\u00b25.jpg", "s");
    const fs::path huge = job.photo("IMG_12345678901234567890.jpg", "h");
    const fs::path taken = job.photo("in/IMG_7.jpg", "seven");
    fs::create_directories(job.source / "GANJIL" / "IMG_7.jpg");
    writeFile(job.source / "GANJIL" / "IMG_7 (1).jpg", "older");
    job.list({first, second, superscript, job.source / "gone_1.jpg", huge, taken,
              fs::path(taken.string() + " ")});

    EXPECT_EQ(job.run(job.args("MOVE", "1")), 0);
    EXPECT_EQ(job.counters(), "7|4|16|7");
    EXPECT_EQ(readFile(superscript), "s");
    EXPECT_EQ(readFile(huge), "h");
    EXPECT_EQ(contentsIn(job.source / "GENAP"),
              (Contents{{"IMG_4.jpg", "first"}, {"IMG_4 (1).jpg", "second"}}));
    EXPECT_EQ(
        contentsIn(job.source / "GANJIL"),
        (Contents{{"IMG_7.jpg", "/"}, {"IMG_7 (1).jpg", "older"}, {"IMG_7 (2).jpg", "seven"}}));
    EXPECT_EQ(job.failures(),
              superscript.string() + "\tno-number\tno number at the end of the name\n" +
                  job.source.string() + "/gone_1.jpg\tmissing\tthe photo is no longer there\n" +
                  huge.string() + "\tno-number\tno number at the end of the name\n" +
                  taken.string() + " \tmissing\tthe photo is no longer there\n");

    // An even folder that cannot be made fails the even photo, and only it.
    Job blocked;
    writeFile(blocked.source / "GENAP", "a file where a folder should be");
    blocked.list({blocked.photo("IMG_6.jpg", "six"), blocked.photo("IMG_3.jpg", "odd")});
    EXPECT_EQ(blocked.run(blocked.args("MOVE")), 0);
    EXPECT_EQ(blocked.counters(), "2|1|3|2");
    EXPECT_EQ(readFile(blocked.source / "IMG_6.jpg"), "six");
    EXPECT_EQ(blocked.failures(), (blocked.source / "IMG_6.jpg").string() +
                                      "\tfolder-not-folder\tdestination folder is not a folder\n");
}

/// Runs Brevin while another thread polls "status.txt", and gives the
/// number of polls that found it empty, torn or going backwards.
int runWatchingStatus(const Job& job, const std::string& mode) {
    std::atomic<bool> running{true};
    int bad = 0;
    std::jthread reader([&] {
        long lastDone = 0;
        while (running) {
            const int fd = ::open((job.tmp / "status.txt").c_str(), O_RDONLY);
            if (fd < 0)
                continue;  // not written yet
            char buffer[256];
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            ::close(fd);
            const std::string counters = countersOf({buffer, std::size_t(std::max(got, 0L))});
            if (counters.empty() || std::stol(counters) < lastDone)
                ++bad;
            if (!counters.empty())
                lastDone = std::stol(counters);
        }
    });
    EXPECT_EQ(job.run(job.args(mode, "8")), 0);
    running = false;
    reader.join();
    return bad;
}

TEST(Brevin, RacingWorkersGiveEverySameNamedPhotoItsOwnName) {
    constexpr int kPhotos = 500;
    for (const std::string mode : {"MOVE", "COPY"}) {
        SCOPED_TRACE(mode);
        Job job;
        std::vector<fs::path> paths;
        std::multiset<std::string> contents;
        std::set<std::string> names{"IMG_4.jpg"};
        std::size_t bytes = 0;
        for (int i = 0; i < kPhotos; ++i) {
            const std::string content = "photo " + std::to_string(i) + std::string(i % 7, '.');
            paths.push_back(job.photo("d" + std::to_string(i) + "/IMG_4.jpg", content));
            contents.insert(content);
            bytes += content.size();
            if (i > 0)
                names.insert("IMG_4 (" + std::to_string(i) + ").jpg");
        }
        job.list(paths);
        EXPECT_EQ(runWatchingStatus(job, mode), 0);

        std::set<std::string> arrivedNames;
        std::multiset<std::string> arrivedContents;
        for (const auto& [name, content] : contentsIn(job.source / "GENAP")) {
            arrivedNames.insert(name);
            arrivedContents.insert(content);
        }
        EXPECT_EQ(arrivedNames, names);
        EXPECT_EQ(arrivedContents, contents);
        if (mode == "MOVE") {
            // Renames within one file system all run on one thread, so the
            // names follow the list: the i-th photo became "IMG_4 (i).jpg".
            int outOfOrder = 0;
            for (int i = 1; i < kPhotos; ++i) {
                const fs::path arrived =
                    job.source / "GENAP" / ("IMG_4 (" + std::to_string(i) + ").jpg");
                outOfOrder +=
                    readFile(arrived) != "photo " + std::to_string(i) + std::string(i % 7, '.');
            }
            EXPECT_EQ(outOfOrder, 0);
        }
        const std::string total = std::to_string(kPhotos);
        EXPECT_EQ(job.counters(), total + "|0|" + std::to_string(bytes) + "|" + total);
        const auto sourcesLeft = std::count_if(paths.begin(), paths.end(),
                                               [](const fs::path& p) { return fs::exists(p); });
        EXPECT_EQ(sourcesLeft, mode == "MOVE" ? 0 : kPhotos);
        EXPECT_TRUE(job.jobFolderIsClean());
    }
}

TEST(Brevin, MovesAcrossFileSystemsWholeOrNotAtAll) {
    Job job;
    const OtherFileSystem elsewhere(job);
    if (elsewhere.folder.empty())
        GTEST_SKIP() << "no second file system at /dev/shm";
    const std::string big(3 << 20, 'b');
    const fs::path small = elsewhere.folder / "IMG_1.jpg";
    const fs::path large = elsewhere.folder / "IMG_3.jpg";
    writeFile(small, "small");
    writeFile(large, big);
    const struct timespec times[2] = {{1500000000, 0}, {1400000000, 5}};
    ASSERT_EQ(::utimensat(AT_FDCWD, small.c_str(), times, 0), 0);

    // Room for the small photo only: the large one stays where it was.
    job.list({small, large});
    EXPECT_EQ(job.run(job.args("MOVE", "2"), kNoRoom), 0);
    EXPECT_EQ(job.counters(), "2|1|5|2");
    EXPECT_EQ(job.failures(), large.string() + "\tother\tFile too large\n");
    EXPECT_EQ(listTree(job.source), (Names{"GANJIL/", "GANJIL/IMG_1.jpg", "GENAP/"}));
    EXPECT_EQ(readFile(job.source / "GANJIL" / "IMG_1.jpg"), "small");
    EXPECT_EQ(statOf(job.source / "GANJIL" / "IMG_1.jpg").st_mtim.tv_nsec, 5);
    EXPECT_FALSE(fs::exists(small));
    EXPECT_EQ(readFile(large), big);

    // Killed part-way, beside the leftovers of a copy killed earlier: the
    // source stays, and the next run moves it whole and clears the leftovers.
    writeFile(job.source / "GANJIL" / ".velmora-partial" / "A1B2" / "7", "cut off");
    job.list({large});
    EXPECT_EQ(job.run(job.args("MOVE"), kKilledPartWay), 128 + SIGXFSZ);
    EXPECT_EQ(readFile(large), big);
    EXPECT_EQ(job.run(job.args("MOVE")), 0);
    EXPECT_EQ(job.counters(), "1|0|3145728|1");
    EXPECT_EQ(listTree(job.source / "GANJIL"), (Names{"IMG_1.jpg", "IMG_3.jpg"}));
    EXPECT_EQ(readFile(job.source / "GANJIL" / "IMG_3.jpg"), big);
    EXPECT_FALSE(fs::exists(large));
    EXPECT_TRUE(job.jobFolderIsClean());
}

/// True when `pid` holds a file open below `folder`.
bool holdsFileBelow(pid_t pid, const fs::path& folder) {
    std::error_code error;
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        if (fs::read_symlink(fd.path(), error).string().starts_with(folder.string() + "/") &&
            fs::is_regular_file(fd.path(), error))
            return true;
    }
    return false;
}

// Stopped by SIGTERM (Ctrl-C or the window's STOP) part-way, Brevin ends the
// photos in flight whole, counts each one it finished, starts no other,
// removes its temporary areas and dies of the same signal.
TEST(Brevin, StoppedRunCountsEveryPhotoItFinished) {
    Job job;
    std::vector<fs::path> photos;
    const std::string content(256 * 1024, 'p');
    for (int k = 1; k <= 300; ++k)
        photos.push_back(
            job.photo("IMG_" + std::to_string(k) + ".jpg", content + std::to_string(k)));
    job.list(photos);
    testkit::Background brevin({BREVIN_PATH, job.source, job.tmp, "COPY", "1", "1", "1"});
    ASSERT_TRUE(testkit::eventually([&] {
        const std::string counters = job.counters();
        return !counters.empty() && counters[0] != '0';
    }));
    ::kill(brevin.pid(), SIGTERM);
    const int end = brevin.wait();
    // It may have finished just before the signal came.
    EXPECT_TRUE(end == 128 + SIGTERM || end == 0) << end;
    const std::size_t done = std::stoul(job.counters());
    EXPECT_EQ(testkit::splitText(readFile(job.tmp / "outputs.txt")).size(), done);
    EXPECT_EQ(listTree(job.source / "GANJIL").size() + listTree(job.source / "GENAP").size(), done);
    EXPECT_EQ(job.failures(), "");
    for (const auto& name : listTree(job.source / "GANJIL"))
        EXPECT_EQ(readFile(job.source / "GANJIL" / name), readFile(job.source / name));
}

TEST(Brevin, KeepsAPhotoThatChangesWhileItIsCopied) {
    Job job;
    const OtherFileSystem elsewhere(job);
    if (elsewhere.folder.empty())
        GTEST_SKIP() << "no second file system at /dev/shm";
    const fs::path photo = elsewhere.folder / "IMG_1.jpg";
    // Large enough for the copy to be caught under way; larger each time
    // it ended first.
    for (std::size_t size = 32 << 20; size <= std::size_t(512) << 20; size *= 2) {
        fs::create_directories(job.source);
        writeFile(photo, std::string(size, 'p'));
        job.list({photo});
        testkit::Background brevin({BREVIN_PATH, job.source, job.tmp, "MOVE", "1", "1", "1"});
        ASSERT_GT(brevin.pid(), 0);
        ASSERT_TRUE(testkit::eventually([&] {
            return holdsFileBelow(brevin.pid(), job.source / "GANJIL") ||
                   testkit::hasEnded(brevin.pid());
        }));
        ::kill(brevin.pid(), SIGSTOP);
        ASSERT_TRUE(testkit::eventually(
            [&] { return testkit::isStopped(brevin.pid()) || testkit::hasEnded(brevin.pid()); }));
        // The copy may have ended between the look and the stop.
        if (!holdsFileBelow(brevin.pid(), job.source / "GANJIL")) {
            ::kill(brevin.pid(), SIGCONT);
            EXPECT_EQ(brevin.wait(), 0);
            fs::remove_all(job.source);
            continue;
        }
        // An import still writing the photo adds to it while it is copied.
        std::ofstream(photo, std::ios::app) << "more";
        ::kill(brevin.pid(), SIGCONT);
        EXPECT_EQ(brevin.wait(), 0);
        EXPECT_EQ(readFile(photo).size(), size + 4);
        EXPECT_EQ(listTree(job.source), (Names{"GANJIL/", "GENAP/"}));
        EXPECT_EQ(job.failures(),
                  photo.string() + "\tchanged\tthe photo changed while it was copied\n");
        return;
    }
    GTEST_SKIP() << "every copy ended before it could be stopped";
}

// Hostile job folders and planted links, and runs that end badly.

TEST(Brevin, NeverWritesThroughPlantedFolderLinks) {
    for (const std::string mode : {"MOVE", "COPY"}) {
        SCOPED_TRACE(mode);
        Job job;
        const fs::path outside = job.root / "outside";
        fs::create_directories(outside);
        fs::create_directories(job.source);
        fs::create_directory_symlink("../outside", job.source / "GANJIL_01");
        fs::create_directory_symlink(outside, job.source / "GENAP");
        const fs::path odd1 = job.photo("IMG_1.jpg", "one");
        const fs::path odd3 = job.photo("IMG_3.jpg", "three");
        const fs::path even = job.photo("IMG_2.jpg", "two");
        job.list({odd1, odd3, even});

        EXPECT_EQ(job.run({job.source, job.tmp, mode, "2", "2", "1"}), 0);
        EXPECT_TRUE(listTree(outside).empty());
        EXPECT_EQ(job.counters(), "3|2|5|3");
        EXPECT_EQ(readFile(odd1), "one");
        EXPECT_EQ(readFile(even), "two");
        EXPECT_EQ(readFile(job.source / "GANJIL_02" / "IMG_3.jpg"), "three");
        const std::string failures = job.failures();
        EXPECT_NE(failures.find(odd1.string() + "\tfolder-link\tdestination folder is a link\n"),
                  std::string::npos);
        EXPECT_NE(failures.find(even.string() + "\tfolder-link\tdestination folder is a link\n"),
                  std::string::npos);
    }
}

TEST(Brevin, TransfersRegularFilesOnly) {
    for (const std::string mode : {"MOVE", "COPY"}) {
        SCOPED_TRACE(mode);
        Job job;
        const std::string failures = job.listNonPhotos("not in the source");
        const Names before = listTree(job.root.path());

        EXPECT_EQ(job.run(job.args(mode, "1")), 0);
        EXPECT_EQ(job.counters(), "4|4|0|4");
        Names after = before;
        for (const char* made : {"job/failures.txt", "job/outputs.txt", "job/status.txt",
                                 "photos/GANJIL/", "photos/GENAP/"}) {
            after.push_back(made);
        }
        std::sort(after.begin(), after.end());
        EXPECT_EQ(listTree(job.root.path()), after);
        EXPECT_EQ(readFile(job.root / "notes.txt"), "notes");
        EXPECT_EQ(job.failures(), failures);
    }
}

TEST(Brevin, TransfersPhotosDeeperThanPathMax) {
    Job job;
    const fs::path deep = testkit::makeDeepFolder(job.source, 2200);
    ASSERT_GT(deep.string().size(), std::size_t(PATH_MAX));
    testkit::writeDeepFile(deep / "IMG_5.jpg", "deep photo");
    job.list({deep / "IMG_5.jpg"});
    EXPECT_EQ(job.run(job.args("COPY")), 0);
    EXPECT_EQ(job.counters(), "1|0|10|1");
    EXPECT_EQ(testkit::readDeepFile(deep / "IMG_5.jpg"), "deep photo");
    EXPECT_EQ(job.run(job.args("MOVE")), 0);
    EXPECT_EQ(job.counters(), "1|0|10|1");
    EXPECT_EQ(testkit::readDeepFile(deep / "IMG_5.jpg"), "");
    EXPECT_EQ(contentsIn(job.source / "GANJIL"),
              (Contents{{"IMG_5.jpg", "deep photo"}, {"IMG_5 (1).jpg", "deep photo"}}));
}

TEST(Brevin, CopiesKeepHolesAndTheDataAroundThem) {
    Job job;
    const fs::path photo = job.photo("IMG_1.jpg", "");
    constexpr off_t kSize = off_t(5) << 30;  // 5 GiB, nearly all hole
    const std::vector<std::pair<off_t, std::string>> data = {
        {0, "head"}, {off_t(2) << 30, "middle"}, {kSize - 4, "tail"}};
    {
        const int fd = ::open(photo.c_str(), O_WRONLY);
        for (const auto& [at, text] : data)
            ASSERT_EQ(::pwrite(fd, text.data(), text.size(), at), ssize_t(text.size()));
        ::close(fd);
    }
    job.list({photo});
    EXPECT_EQ(job.run(job.args("COPY")), 0);
    EXPECT_EQ(job.counters(), "1|0|" + std::to_string(kSize) + "|1");
    const fs::path copy = job.source / "GANJIL" / "IMG_1.jpg";
    EXPECT_EQ(statOf(copy).st_size, kSize);
    EXPECT_LT(statOf(copy).st_blocks * 512, 1 << 20);
    const int fd = ::open(copy.c_str(), O_RDONLY);
    auto readBack = data;
    readBack.emplace_back(off_t(1) << 30, std::string(4, '\0'));  // in the hole
    for (const auto& [at, text] : readBack) {
        std::string read(text.size(), 'x');
        EXPECT_EQ(::pread(fd, read.data(), read.size(), at), ssize_t(read.size()));
        EXPECT_EQ(read, text) << at;
    }
    ::close(fd);
}

}  // namespace
}  // namespace velmora
