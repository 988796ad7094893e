#include "fast_encoder.h"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

#include "atomic_file.h"
#include "jpeg_signature.h"
#include "jpeg_transcode.h"
#include "program_location.h"

namespace velmora {

namespace {

// The whole file when it is a JPEG stream; nothing when it is not or cannot
// be read (the libvips encoder then decides).
std::optional<std::string> readJpegFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string head(3, '\0');
    if (!in.read(head.data(), 3) || !looksLikeJpeg(head))
        return std::nullopt;
    std::string content = head + std::string(std::istreambuf_iterator<char>(in), {});
    if (in.bad())
        return std::nullopt;
    return content;
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
    std::optional<std::string> source;
    try {
        source = readJpegFile(request.source);
    } catch (const std::bad_alloc&) {
        return EncodeExit::Failed;
    }
    if (!source)
        return handOverToVips(argv);

    std::string jpeg;
    switch (transcodeJpeg(*source, request.quality, jpeg)) {
        case JpegTranscode::Encoded:
            return publishJpeg(request.output, jpeg);
        case JpegTranscode::NeedsFullDecoder:
            source.reset();
            return handOverToVips(argv);
        case JpegTranscode::Failed:
            break;
    }
    return EncodeExit::Failed;
}

}  // namespace velmora
