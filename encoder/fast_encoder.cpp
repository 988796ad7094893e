// SPDX-License-Identifier: GPL-3.0-or-later
#include "fast_encoder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "atomic_file.h"
#include "file_io.h"
#include "jpeg_signature.h"
#include "jpeg_transcode.h"
#include "program_location.h"

namespace velmora {

namespace {

/// What the source file turned out to be.
enum class SourceKind { Jpeg, Other, Unusable };

// Reads the source whole when it is a JPEG stream. A FIFO or device is
// unusable: opening it does not block, and no decoder gets to wait on it.
SourceKind readSource(const std::filesystem::path& file, std::string& content) {
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return SourceKind::Unusable;
    char head[3];
    if (::pread(fd.get(), head, sizeof head, 0) != sizeof head ||
        !looksLikeJpeg(std::string_view(head, sizeof head)))
        return SourceKind::Other;
    content.assign(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t filled = 0;
    while (filled < content.size()) {
        const ssize_t got = ::read(fd.get(), content.data() + filled, content.size() - filled);
        if (got == 0)
            break;
        if (got < 0 && errno != EINTR)
            return SourceKind::Unusable;
        if (got > 0)
            filled += static_cast<std::size_t>(got);
    }
    content.resize(filled);
    return SourceKind::Jpeg;
}

EncodeExit handOverToVips(char* const argv[]) {
    const std::filesystem::path program = programBesideThisOne(kVipsEncoderName);
    if (!program.empty())
        ::execv(program.c_str(), argv);
    return EncodeExit::Failed;
}

}  // namespace

EncodeExit publishJpeg(const std::filesystem::path& output, std::string_view jpeg) {
    return replaceFileAtomically(output, jpeg) ? EncodeExit::Encoded : EncodeExit::Failed;
}

EncodeExit encodeOrHandOver(const EncodeRequest& request, char* const argv[]) {
    std::string source;
    try {
        switch (readSource(request.source, source)) {
            case SourceKind::Unusable:
                return EncodeExit::Failed;
            case SourceKind::Other:
                return handOverToVips(argv);
            case SourceKind::Jpeg:
                break;
        }
        std::string jpeg;
        switch (transcodeJpeg(source, request.quality, jpeg)) {
            case JpegTranscode::Encoded:
            case JpegTranscode::Rewritten:
                return publishJpeg(request.output, jpeg);
            case JpegTranscode::NeedsFullDecoder:
                return handOverToVips(argv);
            case JpegTranscode::Failed:
                break;
        }
    } catch (const std::bad_alloc&) {
        // Out of memory, as under the address-space limit: a failure like any.
    }
    return EncodeExit::Failed;
}

}  // namespace velmora
