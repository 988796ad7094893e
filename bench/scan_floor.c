// SPDX-License-Identifier: GPL-3.0-or-later
/* The least a sort scan can do, as a yardstick for Tallix: the same walk
 * (readdir with d_type, hidden entries skipped, output folders pruned), the
 * same one write(2) per list line, the progress rewrite every 1000 files and
 * the summary written beside and renamed. Usage: scan_floor SOURCE TMP */
#define _GNU_SOURCE
#include <ctype.h>
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

enum { FILES, ODD, EVEN, IGNORE, STATUS };
static const char* names[] = {"files.txt", "odd.txt", "even.txt", "ignore.txt", "scan_status.txt"};
static int fds[5];
static long long visited, total, odd, even, ignored;

static void line(int fd, const char* text, size_t length) {
    char buffer[8192];
    memcpy(buffer, text, length);
    buffer[length] = '\n';
    if (write(fd, buffer, length + 1) < 0) {
    }
}

static void progress(void) {
    char text[128];
    int length =
        snprintf(text, sizeof text, "%lld|%lld|%lld|%lld|%lld", visited, total, odd, even, ignored);
    lseek(fds[STATUS], 0, SEEK_SET);
    if (ftruncate(fds[STATUS], 0) != 0) {
    }
    line(fds[STATUS], text, (size_t)length);
}

static int pruned(const char* name) {
    return !strcasecmp(name, "GANJIL") || !strcasecmp(name, "GENAP") ||
           !strncasecmp(name, "GANJIL_", 7) || !strncasecmp(name, "GENAP_", 6) ||
           !strncasecmp(name, "COMPRESSED_", 11);
}

static void file(const char* path, size_t length, const char* name) {
    static const char* extensions[] = {"jpg", "jpeg", "png", "heic", "tif", "tiff", "webp"};
    ++visited;
    const char* dot = strrchr(name, '.');
    int photo = 0;
    for (int i = 0; dot && i < 7; ++i)
        photo |= !strcasecmp(dot + 1, extensions[i]);
    if (!photo || dot == name || !isdigit((unsigned char)dot[-1])) {
        ++ignored;
        line(fds[IGNORE], path, length);
        return;
    }
    ++total;
    line(fds[FILES], path, length);
    if ((dot[-1] - '0') % 2) {
        ++odd;
        line(fds[ODD], path, length);
    } else {
        ++even;
        line(fds[EVEN], path, length);
    }
    if (visited % 1000 == 0)
        progress();
}

static void walk(int folder, char* path, size_t length) {
    DIR* dir = fdopendir(folder);
    if (!dir)
        return;
    struct dirent* entry;
    while ((entry = readdir(dir))) {
        if (entry->d_name[0] == '.')
            continue;
        size_t nameLength = strlen(entry->d_name);
        path[length] = '/';
        memcpy(path + length + 1, entry->d_name, nameLength + 1);
        if (entry->d_type == DT_REG) {
            file(path, length + 1 + nameLength, entry->d_name);
        } else if (entry->d_type == DT_DIR && !pruned(entry->d_name)) {
            int child =
                openat(dirfd(dir), entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child >= 0)
                walk(child, path, length + 1 + nameLength);
        }
    }
    closedir(dir);
}

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    char path[8192];
    mkdir(argv[2], 0777);
    for (int i = 0; i < 5; ++i) {
        snprintf(path, sizeof path, "%s/%s", argv[2], names[i]);
        unlink(path);
        if ((fds[i] = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)) < 0)
            return 3;
    }
    if (!realpath(argv[1], path))
        return 0;
    int root = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root >= 0)
        walk(root, path, strlen(path));
    progress();

    char summary[128], temporary[8192], target[8192];
    int length =
        snprintf(summary, sizeof summary, "%lld|%lld|%lld|%lld\n", total, odd, even, ignored);
    snprintf(temporary, sizeof temporary, "%s/.summary.txt.XXXXXX", argv[2]);
    snprintf(target, sizeof target, "%s/summary.txt", argv[2]);
    int fd = mkostemp(temporary, O_CLOEXEC);
    if (fd < 0 || write(fd, summary, (size_t)length) != length || close(fd) != 0 ||
        rename(temporary, target) != 0)
        return 1;
    for (int i = 0; i < 5; ++i)
        close(fds[i]);
    return 0;
}
