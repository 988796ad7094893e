#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# check_needed_libraries.sh PROGRAM: fails unless the shared libraries that
# PROGRAM names (readelf -d, NEEDED) include QtCore and no other Qt library,
# nor a library of the display (OpenGL, X11, Wayland) or of sound.
set -eu
program=$1
needed=$(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p')
echo "$program needs:" $needed
if ! printf '%s\n' "$needed" | grep -qx 'libQt6Core\.so\.6'; then
    echo "it does not name libQt6Core.so.6" >&2
    exit 1
fi
others=$(printf '%s\n' "$needed" | grep '^libQt' | grep -vx 'libQt6Core\.so\.6' || true)
if [ -n "$others" ]; then
    echo "it needs Qt libraries besides QtCore:" $others >&2
    exit 1
fi
display=$(printf '%s\n' "$needed" | grep -E '^lib(GL|EGL|OpenGL|X|xcb|wayland|canberra)' || true)
if [ -n "$display" ]; then
    echo "it needs libraries of the display or of sound:" $display >&2
    exit 1
fi
