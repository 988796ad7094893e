// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-encode: re-encodes one photo as JPEG. JPEG sources are handled
// here without libvips, so they do not pay its start-up cost; other formats
// go on to velmora-encode-vips.
#include <string>
#include <vector>

#include "fast_encoder.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto request = velmora::parseEncodeArguments(args);
    if (!request)
        return static_cast<int>(velmora::EncodeExit::Usage);
    return static_cast<int>(velmora::encodeOrHandOver(*request, argv));
}
