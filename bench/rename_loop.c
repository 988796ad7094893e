// SPDX-License-Identifier: GPL-3.0-or-later
/* Baseline for the sort benchmark: moves every path of a list into an odd
 * or an even folder, by the parity of the digits that end its base name,
 * with one renameat2(RENAME_NOREPLACE) per file.
 * Usage: rename_loop LIST ODD_FOLDER EVEN_FOLDER */
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int isOdd(const char* name) {
    const char* dot = strrchr(name, '.');
    const char* end = dot ? dot : name + strlen(name);
    return end > name && (end[-1] - '0') % 2 == 1;
}

int main(int argc, char** argv) {
    if (argc != 4)
        return 2;
    FILE* list = fopen(argv[1], "r");
    if (!list)
        return 3;
    char* line = NULL;
    size_t capacity = 0;
    ssize_t length;
    char target[8192];
    int failed = 0;
    while ((length = getline(&line, &capacity, list)) > 0) {
        if (line[length - 1] == '\n')
            line[--length] = '\0';
        const char* slash = strrchr(line, '/');
        const char* name = slash ? slash + 1 : line;
        snprintf(target, sizeof target, "%s/%s", isOdd(name) ? argv[2] : argv[3], name);
        if (renameat2(AT_FDCWD, line, AT_FDCWD, target, RENAME_NOREPLACE) != 0)
            ++failed;
    }
    free(line);
    fclose(list);
    return failed ? 1 : 0;
}
