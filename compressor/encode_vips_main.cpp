// velmora-encode-vips: the libvips half of the encoder, for every source
// that velmora-encode does not convert itself. Same arguments and exit
// statuses as velmora-encode.
#include <string>
#include <vector>

#include <vips/vips8>

#include "fast_encoder.h"
#include "vips_encode.h"

int main(int argc, char** argv) {
    using velmora::EncodeExit;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto request = velmora::parseEncodeArguments(args);
    if (!request)
        return static_cast<int>(EncodeExit::Usage);
    if (VIPS_INIT(argv[0]) != 0)
        return static_cast<int>(EncodeExit::Failed);
    const auto jpeg = velmora::encodeWithVips(request->source, request->quality);
    if (!jpeg)
        return static_cast<int>(EncodeExit::Failed);
    return static_cast<int>(velmora::publishJpeg(request->output, *jpeg));
}
