// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers for tests that run the real programs on real folder trees. The
// namespace is testkit, not testing: inside namespace velmora that name would
// hide GoogleTest's ::testing.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::testkit {

/// A fresh empty folder under the system's temporary folder, removed with
/// everything in it when the object goes away.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& child) const {
        return path_ / child;
    }

  private:
    std::filesystem::path path_;
};

/// What a finished child process left behind.
struct RunResult {
    int exitCode = -1;  ///< exit status, or 128 + signal number when it was killed
    std::string out;    ///< everything it wrote to standard output
    std::string err;    ///< everything it wrote to standard error
};

/// Runs `program` with `args` in working folder `cwd` (the current one when
/// empty), waits for it and collects its output.
RunResult run(const std::filesystem::path& program, const std::vector<std::string>& args,
              const std::filesystem::path& cwd = {});

/// A program started in the background with `args` (the program first),
/// its output thrown away; killed when this goes away unless waited for.
class Background {
  public:
    explicit Background(std::vector<std::string> args);
    ~Background() { kill(); }
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;

    /// Its process id; 0 when it could not be started.
    pid_t pid() const { return pid_; }
    /// Waits for it to end; gives its exit status, 128 + the signal that
    /// ended it, or -1 when it was not running.
    int wait();
    /// Ends it with SIGKILL and reaps it.
    void kill();

  private:
    pid_t pid_ = 0;
};

/// True once `pid` has ended (gone, or a zombie no one has reaped yet).
bool hasEnded(pid_t pid);

/// True once `pid` has been stopped by a signal (SIGSTOP takes effect only
/// when the process next leaves the kernel).
bool isStopped(pid_t pid);

/// Waits up to ten seconds for `check`; gives its last answer.
bool eventually(const std::function<bool()>& check);

/// Runs `program` with `args` from /bin/sh after the shell command `setup`
/// (such as "ulimit -f 1024" or "umask 077"), which then holds for it alone.
RunResult runAfter(const std::string& setup, const std::filesystem::path& program,
                   const std::vector<std::string>& args);

/// Makes `depth` nested folders "d" below `root` (made when missing), however long their path
/// gets (beyond PATH_MAX too); gives the path of the deepest.
std::filesystem::path makeDeepFolder(const std::filesystem::path& root, int depth);

/// Writes `file`, whose path may be longer than PATH_MAX, in an existing folder.
void writeDeepFile(const std::filesystem::path& file, std::string_view content);

/// The content of `file`, whose path may be longer than PATH_MAX; empty
/// when it cannot be read.
std::string readDeepFile(const std::filesystem::path& file);

/// The whole content of `file`, or an empty text when it cannot be read.
std::string readFile(const std::filesystem::path& file);

/// Creates or replaces `file` with `content`, creating missing parent folders.
void writeFile(const std::filesystem::path& file, std::string_view content);

/// Every entry below `root` as a sorted list of paths relative to it;
/// folders end with "/".
std::vector<std::string> listTree(const std::filesystem::path& root);

/// The result of stat(2) on `path`; the test fails when stat does.
struct stat statOf(const std::filesystem::path& path);

/// A photo folder and a job folder beside it, in a fresh temporary folder.
struct JobFolders {
    TempDir root;
    std::filesystem::path source = root / "photos";
    std::filesystem::path tmp = root / "job";

    /// Creates the job folder; the photo folder comes with its first photo.
    JobFolders();

    /// Writes `content` to the photo `relative` below `source`; gives its path.
    std::filesystem::path photo(const std::filesystem::path& relative,
                                std::string_view content) const;

    /// Writes the work list: every path of `paths` followed by `lineEnd`.
    void list(const std::vector<std::filesystem::path>& paths,
              std::string_view lineEnd = "\n") const;

    /// Writes a work list of four lines that name no regular photo file: the
    /// folder "IMG_9.jpg", "IMG_7.jpg" as a link to `outsideContent` written
    /// outside the photo folder, the FIFO "IMG_11.jpg", and a line that a NUL
    /// byte would cut to the file "notes.txt" beside the photo folder. Gives
    /// the failures list a worker writes for them.
    std::string listNonPhotos(std::string_view outsideContent) const;
};

/// `text` cut at every `separator`; a separator at the very end starts no
/// further piece ("a\nb\n" gives "a" and "b").
std::vector<std::string> splitText(std::string_view text, char separator = '\n');

/// The counters of a worker's status line: its fields without the elapsed
/// one at `elapsedField`, joined by "|". Empty unless `line` is `fieldCount`
/// fields of ASCII digits ended by one line feed, the elapsed field with one
/// "." and at least 0.001; so an empty, torn or garbled line gives "".
std::string statusCounters(std::string_view line, std::size_t fieldCount, std::size_t elapsedField);

/// A line per entry of `shown` (a path below `root`, and the text its line
/// shows after `root`), in the order in which the file system lists the tree:
/// what a scan of `root` writes for those entries.
std::string shownLinesInWalkOrder(const std::filesystem::path& root,
                                  const std::map<std::string, std::string>& shown);

/// The lines of `paths` (below `root`) in the order in which the file system
/// lists the tree, each shown as `root` joined with the path.
std::string linesInWalkOrder(const std::filesystem::path& root,
                             const std::vector<std::string>& paths);

}  // namespace velmora::testkit
