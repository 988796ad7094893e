#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the window application from a build tree: run-velmora.sh [BUILD]
set -eu
build=${1:-build}
app="$build/bin/velmora"
if [ ! -x "$app" ]; then
    echo "velmora: $app is not built; run 'make build' first." >&2
    exit 1
fi
exec "$app"
