// SPDX-License-Identifier: GPL-3.0-or-later
// Baseline of compress_bench.sh: re-encodes JPEG files as JPEG at one
// quality with libvips in this one process, on a fixed number of threads
// that each take the next file. Each pipeline runs on its own thread only.
// With "optimize" it computes Huffman tables for each image, as Moskel does;
// without, it uses libjpeg's default tables.
// Usage: vips_loop QUALITY THREADS OUTDIR LIST_FILE [optimize]
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <vips/vips8>

int main(int argc, char** argv) {
    const bool optimize = argc == 6 && std::string(argv[5]) == "optimize";
    if ((argc != 5 && !optimize) || VIPS_INIT(argv[0]) != 0)
        return 2;
    const int quality = std::stoi(argv[1]);
    const int threads = std::stoi(argv[2]);
    const std::filesystem::path outdir = argv[3];
    std::vector<std::string> files;
    std::ifstream list(argv[4]);
    for (std::string line; std::getline(list, line);) {
        if (!line.empty())
            files.push_back(line);
    }
    vips_concurrency_set(1);
    vips_cache_set_max(0);

    std::atomic<std::size_t> next{0};
    std::atomic<int> failed{0};
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back([&] {
            for (std::size_t k; (k = next++) < files.size();) {
                try {
                    const auto out = outdir / std::filesystem::path(files[k]).filename();
                    vips::VImage::new_from_file(
                        files[k].c_str(),
                        vips::VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL))
                        .jpegsave(out.c_str(), vips::VImage::option()
                                                   ->set("Q", quality)
                                                   ->set("optimize_coding", optimize));
                } catch (const vips::VError&) {
                    ++failed;
                }
            }
            vips_thread_shutdown();
        });
    }
    for (auto& thread : pool)
        thread.join();
    return failed == 0 ? 0 : 1;
}
