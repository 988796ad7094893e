#include "process_one.h"

#include <sys/stat.h>
#include <unistd.h>

#include "reserved_output.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

std::int64_t sizeOf(const fs::path& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? static_cast<std::int64_t>(info.st_size) : 0;
}

// The photo as an absolute file path; "a/b/" names the file b.
fs::path sourcePath(const std::string& listed) {
    fs::path source = fs::absolute(listed);
    if (!source.has_filename())
        source = source.parent_path();
    return source;
}

FileOutcome compress(const fs::path& source, const CompressSettings& settings) {
    const FileOutcome failed{false, sizeOf(source), 0};
    if (!settings.tool || !source.has_filename())
        return failed;
    const auto output = reserveOutput(settings.outdir / source.filename());
    if (!output)
        return failed;

    switch (runImageTool(*settings.tool, settings.quality, source, *output)) {
        case ToolRun::NotStarted:
            ::unlink(output->c_str());
            return failed;
        case ToolRun::Succeeded:
            // The reservation already exists, so only JPEG content proves
            // that the tool delivered.
            if (holdsJpeg(*output))
                return {true, failed.sourceBytes, sizeOf(*output)};
            break;
        case ToolRun::Failed:
            break;
    }
    if (!copyIntoReserved(source, *output))
        return failed;
    return {true, failed.sourceBytes, sizeOf(*output)};
}

}  // namespace

FileOutcome processOne(const std::string& path, const CompressSettings& settings) {
    // A NUL would cut the path short and name a different file.
    if (path.empty() || path.find('\0') != std::string::npos)
        return {};
    try {
        return compress(sourcePath(path), settings);
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace velmora
