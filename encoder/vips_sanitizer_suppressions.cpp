// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into the programs that run libvips, in sanitizer builds only.
// libvips and the image libraries under it are not instrumented: ThreadSanitizer
// cannot see the GLib futex locks that order their threads' memory accesses,
// and libx265 keeps one allocation until exit.

#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_suppressions() {
    return "called_from_lib:libvips.so\n"
           "called_from_lib:libpng16.so\n"
           "called_from_lib:libz.so\n"
           "called_from_lib:libjpeg.so\n"
           "called_from_lib:libtiff.so\n"
           "called_from_lib:libwebp.so\n"
           "called_from_lib:libheif.so\n"
           "called_from_lib:libx265.so\n"
           "called_from_lib:liblcms2.so\n"
           "race:libvips.so\n"
           "race:libglib-2.0.so\n"
           "race:libgobject-2.0.so\n"
           "mutex:libgobject-2.0.so\n";
}
#endif

#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libx265.so\n";
}
#endif
