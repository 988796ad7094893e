#include "process_one.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "file_copy.h"
#include "jpeg_signature.h"
#include "output_name.h"
#include "unique_destination.h"

namespace velmora {

namespace {

/// The photo being compressed, open for reading.
struct Source {
    UniqueFd fd;
    std::string name;
    struct stat info;
};

/// A step's failure: the source size still counts.
FileOutcome failed(const Source& source, Failure reason) {
    return {false, source.info.st_size, 0, std::move(reason)};
}

/// Gives the finished file `name` of the area in `settings` the first free
/// name of `wanted` in the output folder.
bool publishFromArea(const CompressSettings& settings, int area, const std::string& name,
                     const std::string& wanted) {
    const int outdir = settings.outdir.handle.get();
    return claimFreeName(outdir, wanted,
                         [&](const auto& candidate) {
                             return renameNoReplace(area, name.c_str(), outdir, candidate.c_str());
                         })
        .has_value();
}

/// Size of the JPEG the tool left at `name` in `area`, given `mode` on the
/// way; nothing when there is no JPEG there.
std::optional<off_t> deliveredJpeg(int area, const std::string& name, mode_t mode) {
    const UniqueFd fd(::openat(area, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    char head[3];
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        ::pread(fd.get(), head, sizeof head, 0) != sizeof head ||
        !looksLikeJpeg(std::string_view(head, sizeof head))) {
        return std::nullopt;
    }
    (void)::fchmod(fd.get(), mode);
    return info.st_size;
}

FileOutcome copyUnchanged(const Source& source, const CompressSettings& settings, mode_t mode,
                          const std::string& toolFailure) {
    if (!copyToFreeName(source.fd.get(), source.info, mode, settings.outdir.handle.get(),
                        *settings.area, source.name, CopySync::Unsynced))
        return failed(source, {failureFromErrno(errno).code,
                               toolFailure + "; copy failed: " + std::strerror(errno)});
    return {true, source.info.st_size, source.info.st_size, {}};
}

FileOutcome compress(const Source& source, const CompressSettings& settings) {
    if (!settings.tool)
        return failed(source, failureOf(FailureCode::NoEncoder));
    if (!settings.outdir.handle)
        return failed(source, settings.outdir.failure);
    const int area = settings.area->folder();
    if (area < 0)
        return failed(source, failureFromErrno(errno));
    const mode_t mode = source.info.st_mode & 0777 & ~settings.umask;

    const std::string work = settings.area->newName() + ".jpg";
    const ToolRun run = runImageTool(*settings.tool, settings.quality, source.fd.get(), area, work);
    if (run.end == ToolEnd::NotStarted)
        return failed(source,
                      {FailureCode::EncoderFailed, "encoder could not start: " + run.failure});
    std::string toolFailure = "encoder failed: " + run.failure;
    if (run.end == ToolEnd::Succeeded) {
        // Exit status 0 counts only with a JPEG to show for it.
        toolFailure = "encoder failed: no JPEG written";
        if (const auto size = deliveredJpeg(area, work, mode)) {
            if (publishFromArea(settings, area, work, encodedOutputName(source.name)))
                return {true, source.info.st_size, *size, {}};
            toolFailure = std::string("encoder output not saved: ") + std::strerror(errno);
        }
    }
    ::unlinkat(area, work.c_str(), 0);
    return copyUnchanged(source, settings, mode, toolFailure);
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
        return failed(source, failureFromErrno(errno));
    OpenedFile opened = openRegularFile(folder, source.name);
    if (!opened.fd)
        return failed(source, opened.failure);
    source.fd = std::move(opened.fd);
    source.info = opened.info;
    try {
        return compress(source, settings);
    } catch (const std::exception&) {
        return failed(source, failureOf(FailureCode::OutOfMemory));
    }
}

}  // namespace velmora
