#!/bin/sh
# Starts the window application from a build tree: run-velmora.sh [BUILD]
set -eu
build=${1:-build}
app="$build/bin/Velmora"
if [ ! -x "$app" ]; then
    echo "Velmora: $app is not built; run 'make build' first." >&2
    exit 1
fi
if [ -z "${DISPLAY-}" ] && [ -z "${WAYLAND_DISPLAY-}" ] && [ -z "${QT_QPA_PLATFORM-}" ]; then
    echo "Velmora: no display (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
    echo "  In a virtual display: xvfb-run -a $app" >&2
    echo "  The tools also work on their own: $build/libexec/velmora/{Tallix,Brevin,Moskel}" >&2
    exit 1
fi
exec "$app"
