// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in image tool for the tests. It takes the encoder's nine
// arguments; its source comes as /dev/fd/N, and it behaves after the first of
// these words found in the path of the file behind that descriptor:
// "unreadable" exits 1 (not an image it can read) and writes nothing;
// "diskfull" exits 3 (its disk is full) and "writeerror" exits 4 (a write
// error), both writing nothing; "partial" leaves half a JPEG at the output and
// exits 1; "nothing" exits 0 writing nothing; "garbage" writes a non-JPEG and
// exits 0; "vanish" deletes the source and exits 1; "hang" spins until a
// limit stops it; "sleep" (the first time for a photo) writes its process id
// to SOURCE.pid, leaves half a JPEG at the output and waits for good, and
// later acts as "good"; "limits" writes its CPU and address space limits to
// SOURCE.limits and exits 1; "status" appends the line of the status file in
// "job" beside the photo folder to "seen.txt" there, then acts as "good".
// Anything else ("good") writes a small JPEG and exits 0.
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kFakeJpeg = "\xFF\xD8\xFF\xE0 fake jpeg \xFF\xD9";

void write(const fs::path& file, const std::string& content, std::ios::openmode mode) {
    std::ofstream(file, std::ios::binary | mode) << content;
}

std::string limit(int resource) {
    rlimit value{};
    getrlimit(resource, &value);
    return value.rlim_cur == RLIM_INFINITY ? "unlimited" : std::to_string(value.rlim_cur);
}

bool has(const std::string& text, const char* word) {
    return text.find(word) != std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() != 9 || args[0] != "-s" || args[7] != "--out")
        return 64;
    std::error_code error;
    std::string source = fs::read_symlink(args[6], error).string();
    if (error)
        source = args[6];
    const fs::path output = args[8];

    if (has(source, "unreadable"))
        return 1;
    if (has(source, "diskfull"))
        return 3;
    if (has(source, "writeerror"))
        return 4;
    if (has(source, "partial")) {
        write(output, kFakeJpeg.substr(0, 6), std::ios::trunc);
        return 1;
    }
    if (has(source, "nothing"))
        return 0;
    if (has(source, "garbage")) {
        write(output, "not a jpeg", std::ios::trunc);
        return 0;
    }
    if (has(source, "vanish")) {
        fs::remove(source);
        return 1;
    }
    if (has(source, "hang")) {
        volatile unsigned long spin = 0;
        for (;;)
            spin = spin + 1;
    }
    if (has(source, "sleep") && !fs::exists(source + ".pid")) {
        write(output, kFakeJpeg.substr(0, 6), std::ios::trunc);
        // Whole or not at all: the test reads it as soon as it appears.
        write(source + ".pid.part", std::to_string(getpid()), std::ios::trunc);
        fs::rename(source + ".pid.part", source + ".pid");
        for (;;)
            pause();
    }
    if (has(source, "limits")) {
        write(source + ".limits", limit(RLIMIT_CPU) + " " + limit(RLIMIT_AS), std::ios::trunc);
        return 1;
    }
    if (has(source, "status")) {
        const fs::path root = fs::path(source).parent_path().parent_path();
        std::ifstream status(root / "job" / "status.txt", std::ios::binary);
        write(root / "seen.txt", std::string(std::istreambuf_iterator<char>(status), {}),
              std::ios::app);
    }
    write(output, kFakeJpeg, std::ios::trunc);
    return 0;
}
