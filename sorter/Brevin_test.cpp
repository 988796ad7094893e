// Runs the real Brevin program on real folder trees.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <map>
#include <thread>

#include "test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::listTree;
using testing::readFile;
using testing::RunResult;
using testing::TempDir;
using testing::writeFile;
using Names = std::vector<std::string>;

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

/// The five fields of a whole status line: four decimal integers around a
/// number of seconds with a fractional part. Nothing for anything else.
std::optional<Names> statusFields(std::string_view text) {
    if (!text.ends_with('\n'))
        return std::nullopt;
    text.remove_suffix(1);
    Names fields;
    for (std::size_t bar; (bar = text.find('|')) != std::string_view::npos;) {
        fields.emplace_back(text.substr(0, bar));
        text.remove_prefix(bar + 1);
    }
    fields.emplace_back(text);
    if (fields.size() != 5)
        return std::nullopt;
    for (int i : {0, 1, 2, 4}) {
        if (!allDigits(fields[i]))
            return std::nullopt;
    }
    const std::string& seconds = fields[3];
    const std::size_t dot = seconds.find('.');
    if (dot == std::string::npos)
        return std::nullopt;
    if (!allDigits(seconds.substr(0, dot)) || !allDigits(seconds.substr(dot + 1))) {
        return std::nullopt;
    }
    return fields;
}

/// A source folder of photos and a job folder beside it.
struct Job {
    TempDir root;
    fs::path source = root / "photos";
    fs::path tmp = root / "job";

    Job() { fs::create_directories(tmp); }

    fs::path photo(const std::string& relative, const std::string& content) const {
        writeFile(source / relative, content);
        return source / relative;
    }

    void list(const std::vector<fs::path>& paths, const std::string& lineEnd = "\n") const {
        std::string text;
        for (const auto& path : paths)
            text += path.string() + lineEnd;
        writeFile(tmp / "files.txt", text);
    }

    RunResult run(const std::string& mode, const std::string& workers = "4",
                  const std::string& odd = "1", const std::string& even = "1") const {
        return testing::run(BREVIN_PATH, {source.string(), tmp.string(), mode, workers, odd, even});
    }

    std::string status() const { return readFile(tmp / "status.txt"); }

    /// The status line without its elapsed field, which varies.
    std::string counters() const {
        const std::string text = status();
        const auto fields = statusFields(text);
        if (!fields)
            return "malformed: " + text;
        return (*fields)[0] + "|" + (*fields)[1] + "|" + (*fields)[2] + "|" + (*fields)[4];
    }

    /// True when the job folder holds nothing but the list and the status.
    bool jobFolderIsClean() const { return listTree(tmp) == Names{"files.txt", "status.txt"}; }
};

struct stat statOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
}

/// Every item in `folder`, by name, with its content ("/" for a folder).
std::map<std::string, std::string> contentsIn(const fs::path& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::directory_iterator(folder)) {
        contents[entry.path().filename()] = entry.is_directory() ? "/" : readFile(entry.path());
    }
    return contents;
}

/// Runs Brevin in a child that may write at most 1 MB per file, as a nearly
/// full disk would allow, and gives its exit code.
int runWithFileSizeLimit(const std::vector<std::string>& args) {
    const pid_t child = ::fork();
    if (child == 0) {
        const struct rlimit limit = {1 << 20, 1 << 20};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, SIG_IGN);
        std::vector<char*> argv{const_cast<char*>(BREVIN_PATH)};
        for (const auto& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(BREVIN_PATH, argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

/// A folder on another file system than the temporary folder, or nothing.
std::optional<fs::path> otherFileSystemFolder(const Job& job) {
    const fs::path shm = "/dev/shm";
    if (::access(shm.c_str(), W_OK) != 0 || statOf(shm).st_dev == statOf(job.root.path()).st_dev) {
        return std::nullopt;
    }
    return shm / ("velmora-brevin-" + std::to_string(::getpid()));
}

TEST(Brevin, WrongArgumentCountOrUnreadableListTouchesNothing) {
    Job job;
    const fs::path photo = job.photo("IMG_1.jpg", "1");
    const Names before = listTree(job.root.path());
    const auto six = [&](const std::string& sixth) {
        return testing::run(BREVIN_PATH, {job.source, job.tmp, "COPY", "4", "1", sixth});
    };

    auto result = testing::run(BREVIN_PATH, {job.source, job.tmp, "COPY", "4", "1"});
    EXPECT_EQ(result.exitCode, 2);
    result = testing::run(BREVIN_PATH, {job.source, job.tmp, "COPY", "4", "1", "1", "1"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(six("1").exitCode, 3);  // no files.txt
    writeFile(job.tmp / "files.txt", photo.string() + "\n/photos/caf\xe9 2.jpg\n");
    result = six("1");
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.out + result.err, "");
    fs::remove(job.tmp / "files.txt");
    EXPECT_EQ(listTree(job.root.path()), before);
}

TEST(Brevin, EmptyListCreatesEveryFolderAndReportsZero) {
    Job job;
    writeFile(job.tmp / "files.txt", "\n\r\n");
    const auto result = job.run("MOVE", "abc", "9", "1");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out + result.err, "");
    EXPECT_EQ(listTree(job.source),
              (Names{"GANJIL_01/", "GANJIL_02/", "GANJIL_03/", "GANJIL_04/", "GANJIL_05/",
                     "GANJIL_06/", "GANJIL_07/", "GANJIL_08/", "GENAP/"}));
    EXPECT_EQ(job.counters(), "0|0|0|0");
    EXPECT_TRUE(job.jobFolderIsClean());
}

TEST(Brevin, CopyKeepsTheSourceItsTimeAndItsPermissions) {
    Job job;
    const fs::path photo = job.photo("a/IMG_1.jpg", "odd photo");
    fs::permissions(photo, fs::perms::owner_read | fs::perms::group_read);
    const struct timespec times[2] = {{1500000000, 0}, {1400000000, 123456789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, photo.c_str(), times, 0), 0);
    job.list({photo}, "\r\n");

    EXPECT_EQ(job.run("copy").exitCode, 0);
    const fs::path copy = job.source / "GANJIL" / "IMG_1.jpg";
    EXPECT_EQ(readFile(copy), "odd photo");
    EXPECT_EQ(readFile(photo), "odd photo");
    EXPECT_EQ(statOf(copy).st_mode & 07777, 0440u);
    EXPECT_EQ(statOf(copy).st_mtim.tv_sec, 1400000000);
    EXPECT_EQ(statOf(copy).st_mtim.tv_nsec, 123456789);
    EXPECT_EQ(job.counters(), "1|0|9|1");
    EXPECT_TRUE(job.jobFolderIsClean());
}

TEST(Brevin, MoveNumbersSameNamedPhotosInListOrder) {
    Job job;
    const fs::path first = job.photo("x/IMG_4.jpg", "first");
    const fs::path second = job.photo("y/IMG_4.jpg", "second");
    job.list({first, second});

    EXPECT_EQ(job.run("MOVE", "1").exitCode, 0);
    EXPECT_EQ(
        contentsIn(job.source / "GENAP"),
        (std::map<std::string, std::string>{{"IMG_4.jpg", "first"}, {"IMG_4 (1).jpg", "second"}}));
    EXPECT_EQ(listTree(job.source),
              (Names{"GANJIL/", "GENAP/", "GENAP/IMG_4 (1).jpg", "GENAP/IMG_4.jpg", "x/", "y/"}));
    EXPECT_EQ(job.counters(), "2|0|11|2");
}

TEST(Brevin, CountsFailuresAndNeverReplacesAnything) {
    Job job;
    const fs::path superscript = job.photo("x\u00b25.jpg", "s");
    const fs::path huge = job.photo("IMG_12345678901234567890.jpg", "h");
    const fs::path good = job.photo("in/IMG_3.jpg", "good");
    const fs::path blocked = job.photo("in/IMG_6.jpg", "six");
    const fs::path taken = job.photo("in/IMG_7.jpg", "seven");
    writeFile(job.source / "GENAP", "a file where a folder should be");
    fs::create_directories(job.source / "GANJIL" / "IMG_7.jpg");
    writeFile(job.source / "GANJIL" / "IMG_7 (1).jpg", "older");
    job.list({superscript, job.source / "gone_1.jpg", huge, good, blocked, taken,
              fs::path(good.string() + " ")});

    EXPECT_EQ(job.run("MOVE").exitCode, 0);
    EXPECT_EQ(job.counters(), "7|5|9|7");
    EXPECT_EQ(readFile(superscript), "s");
    EXPECT_EQ(readFile(huge), "h");
    EXPECT_EQ(readFile(blocked), "six");
    EXPECT_EQ(readFile(job.source / "GENAP"), "a file where a folder should be");
    EXPECT_EQ(contentsIn(job.source / "GANJIL"),
              (std::map<std::string, std::string>{{"IMG_3.jpg", "good"},
                                                  {"IMG_7.jpg", "/"},
                                                  {"IMG_7 (1).jpg", "older"},
                                                  {"IMG_7 (2).jpg", "seven"}}));
    EXPECT_TRUE(fs::is_directory(job.source / "GANJIL" / "IMG_7.jpg"));
    EXPECT_TRUE(job.jobFolderIsClean());
}

/// Lists `count` photos that all share one name, each in its own folder and
/// with its own content, and gives the contents.
std::multiset<std::string> sameNamedPhotos(const Job& job, int count) {
    std::vector<fs::path> paths;
    std::multiset<std::string> contents;
    for (int i = 0; i < count; ++i) {
        const std::string content = "photo " + std::to_string(i) + std::string(i % 7, '.');
        paths.push_back(job.photo("d" + std::to_string(i) + "/IMG_4.jpg", content));
        contents.insert(content);
    }
    job.list(paths);
    return contents;
}

/// Runs Brevin while another thread polls "status.txt", and gives the
/// number of polls that found it empty, torn or going backwards.
int runWatchingStatus(const Job& job, const std::string& mode, int total) {
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
            const auto fields = statusFields({buffer, std::size_t(std::max<ssize_t>(got, 0))});
            const bool whole = fields && (*fields)[4] == std::to_string(total);
            if (!whole || std::stol((*fields)[0]) < lastDone) {
                ++bad;
            } else {
                lastDone = std::stol((*fields)[0]);
            }
        }
    });
    EXPECT_EQ(job.run(mode, "8").exitCode, 0);
    running = false;
    reader.join();
    return bad;
}

std::multiset<std::string> values(const std::map<std::string, std::string>& contents) {
    std::multiset<std::string> result;
    for (const auto& [name, content] : contents)
        result.insert(content);
    return result;
}

Names freeNameSequence(int count) {
    Names names{"IMG_4.jpg"};
    for (int i = 1; i < count; ++i)
        names.push_back("IMG_4 (" + std::to_string(i) + ").jpg");
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Brevin, RacingWorkersGiveEverySameNamedPhotoItsOwnName) {
    constexpr int kPhotos = RACE_PHOTOS;
    for (const std::string mode : {"MOVE", "COPY"}) {
        SCOPED_TRACE(mode);
        Job job;
        const auto contents = sameNamedPhotos(job, kPhotos);
        EXPECT_EQ(runWatchingStatus(job, mode, kPhotos), 0);

        const auto arrived = contentsIn(job.source / "GENAP");
        Names names;
        for (const auto& [name, content] : arrived)
            names.push_back(name);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, freeNameSequence(kPhotos));
        EXPECT_EQ(values(arrived), contents);
        std::size_t bytes = 0;
        for (const auto& content : contents)
            bytes += content.size();
        const std::string total = std::to_string(kPhotos);
        EXPECT_EQ(job.counters(), total + "|0|" + std::to_string(bytes) + "|" + total);

        int sourcesLeft = 0;
        for (int i = 0; i < kPhotos; ++i) {
            sourcesLeft += fs::exists(job.source / ("d" + std::to_string(i)) / "IMG_4.jpg");
        }
        EXPECT_EQ(sourcesLeft, mode == "MOVE" ? 0 : kPhotos);
        EXPECT_TRUE(job.jobFolderIsClean());
    }
}

TEST(Brevin, MovesAcrossFileSystemsAndCopiesNothingPartial) {
    Job job;
    const auto elsewhere = otherFileSystemFolder(job);
    if (!elsewhere)
        GTEST_SKIP() << "no second file system at /dev/shm";
    struct Cleanup {
        fs::path folder;
        ~Cleanup() {
            std::error_code ignored;
            fs::remove_all(folder, ignored);
        }
    } cleanup{*elsewhere};

    const std::string big(3 << 20, 'b');
    const fs::path small = *elsewhere / "IMG_1.jpg";
    const fs::path large = *elsewhere / "IMG_3.jpg";
    writeFile(small, "small");
    writeFile(large, big);
    const struct timespec times[2] = {{1500000000, 0}, {1400000000, 5}};
    ASSERT_EQ(::utimensat(AT_FDCWD, small.c_str(), times, 0), 0);
    job.list({small, large});
    const std::vector<std::string> args{job.source, job.tmp, "MOVE", "2", "1", "1"};

    // Room for the small photo only: the large one fails, leaves no partial
    // copy and stays where it was.
    EXPECT_EQ(runWithFileSizeLimit(args), 0);
    EXPECT_EQ(job.counters(), "2|1|5|2");
    EXPECT_EQ(listTree(job.source), (Names{"GANJIL/", "GANJIL/IMG_1.jpg", "GENAP/"}));
    EXPECT_EQ(readFile(job.source / "GANJIL" / "IMG_1.jpg"), "small");
    EXPECT_EQ(statOf(job.source / "GANJIL" / "IMG_1.jpg").st_mtim.tv_nsec, 5);
    EXPECT_FALSE(fs::exists(small));
    EXPECT_EQ(readFile(large), big);

    job.list({large});
    EXPECT_EQ(job.run("MOVE").exitCode, 0);
    EXPECT_EQ(job.counters(), "1|0|3145728|1");
    EXPECT_EQ(readFile(job.source / "GANJIL" / "IMG_3.jpg"), big);
    EXPECT_FALSE(fs::exists(large));
    EXPECT_TRUE(job.jobFolderIsClean());
}

TEST(Brevin, CopyThatRunsOutOfRoomLeavesNoPartialFile) {
    Job job;
    const std::string big(3 << 20, 'b');
    const fs::path large = job.photo("IMG_2.jpg", big);
    const fs::path small = job.photo("IMG_4.jpg", "four");
    job.list({large, small});
    EXPECT_EQ(runWithFileSizeLimit({job.source, job.tmp, "COPY", "1000000", "1", "1"}), 0);
    EXPECT_EQ(job.counters(), "2|1|4|2");
    EXPECT_EQ(listTree(job.source / "GENAP"), Names{"IMG_4.jpg"});
    EXPECT_EQ(readFile(large), big);
    EXPECT_TRUE(job.jobFolderIsClean());
}

}  // namespace
}  // namespace velmora
