// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_support.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "listed_path.h"

extern char** environ;

namespace velmora::testkit {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "velmora-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests may leave read-only folders behind; give write permission back first.
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(path_, ignored);
    // Trees deeper than PATH_MAX defeat remove_all; rm works its way down by descriptors.
    if (ignored)
        run("/bin/rm", {"-rf", path_.string()});
}

RunResult run(const fs::path& program, const std::vector<std::string>& args, const fs::path& cwd) {
    TempDir capture;
    const std::string outFile = capture / "out";
    const std::string errFile = capture / "err";

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    if (!cwd.empty())
        posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());

    std::vector<char*> argv;
    std::string programText = program.string();
    argv.push_back(programText.data());
    std::vector<std::string> argsCopy = args;
    for (auto& a : argsCopy)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid;
    const int rc =
        ::posix_spawn(&pid, programText.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + programText);

    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    RunResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = readFile(outFile);
    result.err = readFile(errFile);
    return result;
}

Background::Background(std::vector<std::string> args) {
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid_ = 0;
    ::posix_spawn_file_actions_destroy(&actions);
}

int Background::wait() {
    int status = 0;
    if (pid_ <= 0 || ::waitpid(std::exchange(pid_, 0), &status, 0) < 0)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void Background::kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    pid_ = 0;
}

bool hasEnded(pid_t pid) {
    const std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    return stat.empty() || stat.find(") Z ") != std::string::npos;
}

bool isStopped(pid_t pid) {
    return readFile("/proc/" + std::to_string(pid) + "/stat").find(") T ") != std::string::npos;
}

bool eventually(const std::function<bool()>& check) {
    for (int i = 0; i < 1000 && !check(); ++i)
        ::usleep(10000);
    return check();
}

RunResult runAfter(const std::string& setup, const fs::path& program,
                   const std::vector<std::string>& args) {
    std::vector<std::string> shell = {"-c", setup + " && exec \"$0\" \"$@\"", program.string()};
    shell.insert(shell.end(), args.begin(), args.end());
    return run("/bin/sh", shell);
}

fs::path makeDeepFolder(const fs::path& root, int depth) {
    fs::create_directories(root);
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::string path = root.string();
    for (int level = 0; level < depth && fd >= 0; ++level) {
        ::mkdirat(fd, "d", 0755);
        const int child = ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = child;
        path += "/d";
    }
    if (fd < 0)
        throw std::runtime_error("cannot make a deep folder in " + root.string());
    ::close(fd);
    return path;
}

void writeDeepFile(const fs::path& file, std::string_view content) {
    const UniqueFd folder = openFolderPath(file.parent_path().string());
    const UniqueFd fd(
        ::openat(folder.get(), file.filename().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    if (!fd || !writeAll(fd.get(), content))
        throw std::runtime_error("cannot write a deep file");
}

std::string readDeepFile(const fs::path& file) {
    const UniqueFd folder = openFolderPath(file.parent_path().string());
    const UniqueFd fd(::openat(folder.get(), file.filename().c_str(), O_RDONLY));
    std::string content;
    char buffer[4096];
    ssize_t got;
    while (fd && (got = ::read(fd.get(), buffer, sizeof buffer)) > 0)
        content.append(buffer, std::size_t(got));
    return content;
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& file, std::string_view content) {
    if (file.has_parent_path())
        fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), std::streamsize(content.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::vector<std::string> listTree(const fs::path& root) {
    std::vector<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        std::string relative = entry.path().lexically_relative(root).string();
        if (entry.is_directory() && !entry.is_symlink())
            relative += '/';
        entries.push_back(relative);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

struct stat statOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
}

JobFolders::JobFolders() {
    fs::create_directories(tmp);
}

fs::path JobFolders::photo(const fs::path& relative, std::string_view content) const {
    writeFile(source / relative, content);
    return source / relative;
}

void JobFolders::list(const std::vector<fs::path>& paths, std::string_view lineEnd) const {
    std::string text;
    for (const auto& path : paths)
        text += path.string() + std::string(lineEnd);
    writeFile(tmp / "files.txt", text);
}

std::string JobFolders::listNonPhotos(std::string_view outsideContent) const {
    writeFile(root / "outside.jpg", outsideContent);
    writeFile(root / "notes.txt", "notes");
    const fs::path folder = photo("IMG_9.jpg/inside.jpg", "in a folder").parent_path();
    const fs::path link = source / "IMG_7.jpg";
    fs::create_symlink(root / "outside.jpg", link);
    const fs::path fifo = source / "IMG_11.jpg";
    EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string nul = std::string("notes.txt") + '\0' + "/IMG_13.jpg";
    writeFile(tmp / "files.txt",
              folder.string() + "\n" + link.string() + "\n" + fifo.string() + "\n" + nul + "\n");
    std::string failures;
    for (const fs::path& path : {folder, link, fifo})
        failures += path.string() + "\tnot-regular\tnot a regular file\n";
    return failures + "notes.txt\\x00/IMG_13.jpg\tnul-in-path\tthe path holds a NUL byte\n";
}

std::vector<std::string> splitText(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    while (!text.empty()) {
        const std::size_t end = text.find(separator);
        pieces.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return pieces;
}

std::string statusCounters(std::string_view line, std::size_t fieldCount,
                           std::size_t elapsedField) {
    if (!line.ends_with('\n'))
        return {};
    std::vector<std::string> fields(1);
    for (const char c : line.substr(0, line.size() - 1)) {
        if (c == '|')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    if (fields.size() != fieldCount)
        return {};
    std::string counters;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& text = fields[i];
        const bool elapsed = i == elapsedField;
        if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos ||
            std::count(text.begin(), text.end(), '.') != (elapsed ? 1 : 0)) {
            return {};
        }
        if (elapsed && std::strtod(text.c_str(), nullptr) < 0.001)
            return {};
        if (!elapsed)
            counters += (counters.empty() ? "" : "|") + text;
    }
    return counters;
}

std::string shownLinesInWalkOrder(const fs::path& root,
                                  const std::map<std::string, std::string>& shown) {
    std::string text;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const auto found = shown.find(entry.path().lexically_relative(root).string());
        if (found != shown.end())
            text += root.string() + found->second + "\n";
    }
    return text;
}

std::string linesInWalkOrder(const fs::path& root, const std::vector<std::string>& paths) {
    std::map<std::string, std::string> shown;
    for (const auto& path : paths)
        shown[path] = "/" + path;
    return shownLinesInWalkOrder(root, shown);
}

}  // namespace velmora::testkit
