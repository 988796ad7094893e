// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the photos of compress_bench.sh: COUNT JPEGs of WIDTH x HEIGHT at
// quality 92, each a different crop and tint of a fractal landscape with
// fine grain, so that they compress like camera photos, not flat colour.
// Usage: make_bench_photos COUNT WIDTH HEIGHT OUTDIR
#include <cstdio>
#include <string>

#include <vips/vips8>

using vips::VImage;

int main(int argc, char** argv) {
    if (argc != 5 || VIPS_INIT(argv[0]) != 0)
        return 2;
    const int count = std::stoi(argv[1]);
    const int width = std::stoi(argv[2]);
    const int height = std::stoi(argv[3]);
    const std::string outdir = argv[4];

    // A fractal surface, mirrored differently for each colour band and
    // enlarged past the photo size so that every photo can be another crop.
    const int margin = 64;
    const VImage surface = VImage::fractsurf(width / 4, height / 4, 2.2);
    const double scale = 50 / surface.deviate();
    const VImage level = surface.linear(scale, 120 - surface.avg() * scale);
    const std::vector<VImage> bands = {level, level.flip(VIPS_DIRECTION_HORIZONTAL),
                                       level.flip(VIPS_DIRECTION_VERTICAL)};
    const VImage landscape =
        VImage::bandjoin(bands)
            .resize(double(width + margin) / (width / 4),
                    VImage::option()->set("vscale", double(height + margin) / (height / 4)))
            .copy_memory();

    for (int i = 0; i < count; ++i) {
        const VImage grain = VImage::gaussnoise(
            width, height, VImage::option()->set("sigma", 5.0)->set("mean", 0.0));
        const std::vector<double> tint = {0.8 + 0.01 * (i % 30), 0.9, 1.15 - 0.01 * (i % 25)};
        const VImage photo =
            (landscape.crop(i % margin, (i * 7) % margin, width, height)
                 .linear(tint, {0.0, 0.0, 0.0}) +
             grain)
                .cast(VIPS_FORMAT_UCHAR)
                .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
        char name[32];
        std::snprintf(name, sizeof name, "/IMG_%04d.jpg", i + 1);
        photo.jpegsave((outdir + name).c_str(), VImage::option()->set("Q", 92));
    }
    return 0;
}
