// SPDX-License-Identifier: GPL-3.0-or-later
// Start time of a window program: starts PROGRAM with ARGS on the X display
// of $DISPLAY (a bare server, no window manager or compositor), and prints
// the milliseconds from just before the fork to the first frame of its
// window: the first moment a pixel of the mapped window differs from what
// the screen showed there when it was mapped. Then ends the program with
// SIGTERM. No compositor means the window's drawing lands on the root
// window, where it is read back.
// Usage: first_frame PROGRAM [ARGS...]
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The window's area of the root window as it is now.
static XImage* grab(Display* display, Window root, int x, int y, unsigned w, unsigned h) {
    return XGetImage(display, root, x, y, w, h, AllPlanes, ZPixmap);
}

static int differs(XImage* a, XImage* b) {
    for (int y = 0; y < a->height; ++y)
        for (int x = 0; x < a->width; ++x)
            if (XGetPixel(a, x, y) != XGetPixel(b, x, y))
                return 1;
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: first_frame PROGRAM [ARGS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "first_frame: no X display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    const int screen_w = DisplayWidth(display, DefaultScreen(display));
    const int screen_h = DisplayHeight(display, DefaultScreen(display));
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = now_ms();
    const pid_t child = fork();
    if (child < 0)
        return 1;
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }

    // The first top-level window it maps.
    Window window = 0;
    while (!window) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect)
            window = event.xmap.window;
        int status;
        if (waitpid(child, &status, WNOHANG) == child) {
            fprintf(stderr, "first_frame: %s ended before it showed a window\n", argv[1]);
            return 1;
        }
    }
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    int x = attributes.x, y = attributes.y;
    unsigned w = attributes.width, h = attributes.height;
    if (x < 0) {
        w += x;
        x = 0;
    }
    if (y < 0) {
        h += y;
        y = 0;
    }
    if (x + (int)w > screen_w)
        w = screen_w - x;
    if (y + (int)h > screen_h)
        h = screen_h - y;
    XImage* before = grab(display, root, x, y, w, h);
    const double mapped = now_ms();
    double frame = -1;
    while (frame < 0) {
        XImage* current = grab(display, root, x, y, w, h);
        if (differs(before, current))
            frame = now_ms();
        XDestroyImage(current);
        int status;
        if (waitpid(child, &status, WNOHANG) == child) {
            fprintf(stderr, "first_frame: %s ended before its first frame\n", argv[1]);
            return 1;
        }
        if (now_ms() - start > 60000) {
            fprintf(stderr, "first_frame: no frame within 60 s\n");
            kill(child, SIGKILL);
            return 1;
        }
    }
    XDestroyImage(before);
    kill(child, SIGTERM);
    waitpid(child, NULL, 0);
    // First frame, then the map alone, both from the start.
    printf("%.1f %.1f\n", frame - start, mapped - start);
    XCloseDisplay(display);
    return 0;
}
