// SPDX-License-Identifier: GPL-3.0-or-later
#include "process_one.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "encoder_status.h"
#include "file_copy.h"
#include "full_disks.h"
#include "jpeg_signature.h"
#include "output_name.h"
#include "run_stop.h"
#include "unique_destination.h"

namespace velmora {

void MadeNames::add(const std::string& name) {
    std::lock_guard guard(lock_);
    names_.insert(name);
}

bool MadeNames::contains(const std::string& name) const {
    std::lock_guard guard(lock_);
    return names_.count(name) != 0;
}

namespace {

/// The photo being compressed, open for reading.
struct Source {
    UniqueFd fd;
    std::string name;
    struct stat info;
};

/// The step's context: its photo and the run's settings.
struct Step {
    const Source& source;
    const CompressSettings& settings;
    mode_t mode;  ///< the outputs' permission bits

    int outdir() const { return settings.outdir.handle.get(); }
    PublishFolder& output() const { return *settings.output; }
};

/// A step's failure: the source size still counts.
FileOutcome failed(const Source& source, Failure reason) {
    FileOutcome outcome;
    outcome.sourceBytes = source.info.st_size;
    outcome.failure = std::move(reason);
    return outcome;
}

FileOutcome finished(const Step& step, FileResult result, std::int64_t outputBytes,
                     const std::string& name) {
    step.settings.made->add(name);
    FileOutcome outcome;
    outcome.result = result;
    outcome.sourceBytes = step.source.info.st_size;
    outcome.outputBytes = outputBytes;
    outcome.output = name;
    return outcome;
}

/// A failure met while writing into the output folder; a full disk is
/// noted, so that the photos still to come fail at once.
FileOutcome failedWriting(const Step& step, Failure failure) {
    if (failure.code == FailureCode::DiskFull)
        noteDiskFull(step.output().device());
    return failed(step.source, std::move(failure));
}

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

/// True when an output's modification time `output` is the source's
/// `source` as the output's file system keeps it: exactly, or within the two
/// seconds FAT rounds to where that file system keeps no nanoseconds.
bool keptTime(const timespec& output, const timespec& source) {
    if (sameTime(output, source))
        return true;
    constexpr long kTenMilliseconds = 10'000'000;
    if (output.tv_nsec % kTenMilliseconds != 0)
        return false;
    return std::llabs(static_cast<long long>(output.tv_sec) - source.tv_sec) <= 2;
}

/// True when the file open as `fd`, of `size` bytes, is a whole JPEG.
bool isWholeJpeg(int fd, off_t size) {
    char head[3], tail[2];
    return size > 5 && ::pread(fd, head, sizeof head, 0) == sizeof head &&
           looksLikeJpeg(std::string_view(head, sizeof head)) &&
           ::pread(fd, tail, sizeof tail, size - 2) == sizeof tail && tail[0] == '\xFF' &&
           tail[1] == '\xD9';
}

/// The output that an earlier run, stopped before its end, made from this
/// very source: a whole file under one of the photo's output names, not made
/// by this run, with the source's modification time, holding the source's
/// bytes or a whole JPEG.
std::optional<FileOutcome> earlierOutput(const Step& step) {
    const int outdir = step.outdir();
    std::int64_t size = 0;
    bool sourceBytes = false;
    const auto madeFromSource = [&](const std::string& name) {
        struct stat info;
        if (step.settings.made->contains(name) ||
            ::fstatat(outdir, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || !keptTime(info.st_mtim, step.source.info.st_mtim))
            return false;
        const UniqueFd fd(
            ::openat(outdir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (!fd)
            return false;
        size = info.st_size;
        sourceBytes = info.st_size == step.source.info.st_size &&
                      sameContent(fd.get(), step.source.fd.get(), info.st_size);
        return sourceBytes || isWholeJpeg(fd.get(), info.st_size);
    };
    const std::string encoded = encodedOutputName(step.source.name);
    auto found = findTakenName(outdir, encoded, madeFromSource);
    if (!found && encoded != step.source.name)
        found = findTakenName(outdir, step.source.name, madeFromSource);
    if (!found)
        return std::nullopt;
    return finished(step, FileResult::AlreadyMade, size, *found);
}

/// Gives the finished file `name` of the temporary area the first free name
/// of `wanted` in the output folder.
std::optional<std::string> publishFromArea(const Step& step, const std::string& name,
                                           const std::string& wanted, off_t size) {
    PublishFolder& output = step.output();
    const int area = output.area().folder();
    return claimFreeName(output.fd(), wanted, [&](const auto& candidate) {
        return output.moveIn(area, name.c_str(), candidate, size);
    });
}

/// The encoded output left at `name` in `area`, complete and a JPEG, given
/// the outputs' mode and the source's times on the way: its size, or nothing
/// when there is no JPEG there.
std::optional<off_t> deliveredJpeg(const Step& step, int area, const std::string& name) {
    const UniqueFd fd(::openat(area, name.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    char head[3];
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        ::pread(fd.get(), head, sizeof head, 0) != sizeof head ||
        !looksLikeJpeg(std::string_view(head, sizeof head))) {
        return std::nullopt;
    }
    keepAttributes(fd.get(), step.mode, step.source.info);
    return info.st_size;
}

/// Copies the source unchanged into the output folder under its own name.
FileOutcome copyUnchanged(const Step& step, FileResult result, Failure why) {
    CopyOutcome copy = copyToFreeName(step.source.fd.get(), step.source.info, step.mode,
                                      step.output(), step.source.name, CopyCheck::None);
    if (!copy.name)
        return failedWriting(step, std::move(copy.failure));
    FileOutcome outcome = finished(step, result, step.source.info.st_size, *copy.name);
    outcome.failure = std::move(why);
    return outcome;
}

/// The failure of an encoder run that wrote no output, or nothing when the
/// encoder could not read the image (the source is then copied unchanged).
std::optional<Failure> writeFailureOf(const ToolRun& run) {
    if (run.exitStatus == encoder_status::kDiskFull)
        return failureOf(FailureCode::DiskFull);
    if (run.exitStatus == encoder_status::kWriteError)
        return Failure{FailureCode::IoError, "the encoder could not write its output"};
    return std::nullopt;
}

FileOutcome compress(const Step& step) {
    const Source& source = step.source;
    const CompressSettings& settings = step.settings;
    if (!settings.tool)
        return failed(source, failureOf(FailureCode::NoEncoder));
    if (!settings.outdir.handle)
        return failed(source, settings.outdir.failure);
    if (isDiskFull(step.output().device()))
        return failed(source, failureOf(FailureCode::DiskFull));
    if (auto earlier = earlierOutput(step))
        return std::move(*earlier);
    const int area = step.output().area().folder();
    if (area < 0)
        return failedWriting(step, failureFromErrno(errno));

    const std::string work = step.output().area().newName() + ".jpg";
    const ToolRun run = runImageTool(*settings.tool, settings.quality, source.fd.get(), area, work);
    if (run.end == ToolEnd::NotStarted) {
        return failed(source,
                      {FailureCode::EncoderFailed, "encoder could not start: " + run.failure});
    }
    std::optional<off_t> size;
    if (run.end == ToolEnd::Succeeded)
        size = deliveredJpeg(step, area, work);
    if (size && *size < source.info.st_size) {
        if (auto name = publishFromArea(step, work, encodedOutputName(source.name), *size))
            return finished(step, FileResult::Compressed, *size, *name);
        const Failure failure = nameFailure(step.output(), errno);
        ::unlinkat(area, work.c_str(), 0);
        return failedWriting(step, failure);
    }
    ::unlinkat(area, work.c_str(), 0);
    // A smaller file could not be made: the source's own bytes are the best.
    if (size)
        return copyUnchanged(step, FileResult::Kept, {});
    // An encoder ended by a stop signal was stopped with the run (the signal
    // may reach the encoder before this process has seen its own): the
    // photo is left not done, never copied as if it were no image.
    if (isStopSignal(run.signal) || (run.signal != 0 && stopRequested())) {
        FileOutcome outcome = failed(source, {});
        outcome.result = FileResult::Abandoned;
        return outcome;
    }
    if (auto failure = writeFailureOf(run))
        return failedWriting(step, std::move(*failure));
    const std::string why = run.end == ToolEnd::Succeeded ? "the encoder wrote no JPEG"
                                                          : "encoder failed: " + run.failure;
    return copyUnchanged(step, FileResult::Uncompressed,
                         {FailureCode::NotAnImage, "not a readable image (" + why + ")"});
}

}  // namespace

FileOutcome processOne(const std::string& path, const CompressSettings& settings,
                       FolderCache& cache) {
    Source source{UniqueFd(), {}, {}};
    // A NUL would cut the path short and name a different file.
    if (path.find('\0') != std::string::npos)
        return failed(source, failureOf(FailureCode::NulInPath));
    // "a/b/" names the file b.
    std::string_view listed = path;
    while (listed.size() > 1 && listed.back() == '/')
        listed.remove_suffix(1);
    const ListedPath split = splitListedPath(listed);
    source.name = split.name;
    const int folder = cache.open(split.folder);
    if (folder < 0)
        return failed(source, sourceFailureFromErrno(errno));
    OpenedFile opened = openRegularFile(folder, source.name);
    if (!opened.fd)
        return failed(source, opened.failure);
    source.fd = std::move(opened.fd);
    source.info = opened.info;
    try {
        return compress({source, settings, mode_t(source.info.st_mode & 0777 & ~settings.umask)});
    } catch (const std::exception&) {
        return failed(source, failureOf(FailureCode::OutOfMemory));
    }
}

}  // namespace velmora
