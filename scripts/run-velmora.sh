#!/bin/sh
# Starts the window application from a build tree.
set -eu
build=${1:-build}
app="$build/bin/Velmora"
if [ ! -x "$app" ]; then
    echo "Velmora: the window application is not built yet; the tools are in $build/libexec/velmora."
    exit 0
fi
exec "$app"
