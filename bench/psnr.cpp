// SPDX-License-Identifier: GPL-3.0-or-later
// Fidelity figure of compress_bench.sh: the mean PSNR, in dB, of the
// re-encoded photos in OUTDIR against their sources listed in LIST_FILE (one
// path a line; the output carries the source's file name). Both sides are
// decoded to 8-bit sRGB and compared over every band.
// Usage: psnr LIST_FILE OUTDIR
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <vips/vips8>

using vips::VImage;

namespace {

VImage decodedRgb(const std::string& file) {
    return VImage::new_from_file(file.c_str(),
                                 VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL))
        .colourspace(VIPS_INTERPRETATION_sRGB);
}

double psnr(const std::string& source, const std::string& output) {
    const VImage difference = decodedRgb(source).cast(VIPS_FORMAT_FLOAT) - decodedRgb(output);
    const double meanSquare = (difference * difference).avg();
    return meanSquare == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / meanSquare);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || VIPS_INIT(argv[0]) != 0)
        return 2;
    const std::filesystem::path outdir = argv[2];
    std::ifstream list(argv[1]);
    double sum = 0;
    int count = 0;
    try {
        for (std::string source; std::getline(list, source);) {
            if (source.empty())
                continue;
            sum += psnr(source, outdir / std::filesystem::path(source).filename());
            ++count;
        }
    } catch (const vips::VError& error) {
        std::fprintf(stderr, "psnr: %s\n", error.what());
        return 1;
    }
    if (count == 0)
        return 1;
    std::printf("%.3f\n", sum / count);
    return 0;
}
