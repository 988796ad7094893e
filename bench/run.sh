#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark against a build tree and prints their figures.
set -eu
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
for bench in "$here"/*_bench.sh; do
    [ -e "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench" "$build"
done
