// SPDX-License-Identifier: GPL-3.0-or-later
// A baseline of bench/compress_bench.sh: velmora-encode's JPEG path in this one
// process, on a fixed number of threads that each take the next file, so
// that the lossless rewrite of sources at or below the quality and their
// lossy re-encoding are timed on the same code without process start-up.
// "requantize" re-encodes every source; without it, sources at or below the
// quality are rewritten from their coefficients, as velmora-encode does.
// Usage: transcode_loop QUALITY THREADS OUTDIR LIST_FILE [requantize]
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "jpeg_transcode.h"

int main(int argc, char** argv) {
    const bool requantize = argc == 6 && std::string(argv[5]) == "requantize";
    if (argc != 5 && !requantize)
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
    const auto below =
        requantize ? velmora::BelowTarget::Requantize : velmora::BelowTarget::Rewrite;

    std::atomic<std::size_t> next{0};
    std::atomic<int> failed{0};
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back([&] {
            for (std::size_t k; (k = next++) < files.size();) {
                std::ifstream in(files[k], std::ios::binary);
                const std::string source{std::istreambuf_iterator<char>(in), {}};
                std::string jpeg;
                const auto result = velmora::transcodeJpeg(source, quality, jpeg, below);
                if (result != velmora::JpegTranscode::Encoded &&
                    result != velmora::JpegTranscode::Rewritten) {
                    ++failed;
                    continue;
                }
                std::ofstream out(outdir / std::filesystem::path(files[k]).filename(),
                                  std::ios::binary);
                out.write(jpeg.data(), std::streamsize(jpeg.size()));
                if (!out)
                    ++failed;
            }
        });
    }
    for (auto& thread : pool)
        thread.join();
    return failed == 0 ? 0 : 1;
}
