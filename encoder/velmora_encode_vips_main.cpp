// SPDX-License-Identifier: GPL-3.0-or-later
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
    // Moskel runs several encoders side by side. Two threads each, like the
    // JPEG path, keep the cores busy without piling one thread per core, and
    // its address space, onto every encoder under the velmora-limit limits.
    vips_concurrency_set(2);
    const auto jpeg = velmora::encodeWithVips(request->source, request->quality);
    if (!jpeg)
        return static_cast<int>(EncodeExit::Failed);
    return static_cast<int>(velmora::publishJpeg(request->output, *jpeg));
}
