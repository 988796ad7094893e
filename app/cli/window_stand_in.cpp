// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the window program in velmora_cli_test: prints the name it
// was started under, the file the kernel runs and its arguments, one a line.
#include <unistd.h>

#include <climits>
#include <cstdio>

int main(int argc, char* argv[]) {
    char exe[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
    std::printf("argv0=%s\nexe=%s\n", argv[0], length > 0 ? exe : "?");
    for (int i = 1; i < argc; ++i) {
        std::printf("argument=%s\n", argv[i]);
    }
    return 0;
}
