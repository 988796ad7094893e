#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The window's start time: from the start of `velmora` to its first frame
# (the first pixel its window draws), on a private Xvfb with no window
# manager, measured by first_frame.c; the time to the window's mapping is
# shown beside it. Median of 11 runs after one unmeasured run that warms the
# caches. With a second build folder, that build's velmora is measured in
# the same rounds, the two taking turns at going first, and the ratio of the
# medians is printed: for example a build with the QML compiled ahead of
# time against one configured with -DVELMORA_QML_CACHEGEN=OFF.
# Usage: start_bench.sh BUILD_FOLDER [OTHER_BUILD_FOLDER]
set -eu
build=$(cd "${1:-build}" && pwd)
other=""
[ $# -ge 2 ] && other=$(cd "$2" && pwd)
first_frame="$build/bench/first_frame"
for program in "$first_frame" "$build/bin/velmora" ${other:+"$other/bin/velmora"}; do
    [ -x "$program" ] || { echo "no $program: build first" >&2; exit 1; }
done
if ! command -v Xvfb >/dev/null 2>&1; then
    echo "Xvfb is not installed (apt-get install xvfb): no start time measured"
    exit 0
fi

scratch=$(mktemp -d /tmp/velmora-start-bench.XXXXXX)
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# Xvfb chooses a free display and writes its number once it takes clients.
mkfifo "$scratch/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb_pid=$!
read -r number <"$scratch/display"
export DISPLAY=":$number"
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY
export LANGUAGE=id

# measure NAME BUILD: one start of BUILD's velmora, its figures added to NAME.
measure() {
    "$first_frame" "$2/bin/velmora" >>"$scratch/$1" 2>>"$scratch/log" ||
        { cat "$scratch/log" >&2; exit 1; }
}
# median NAME COLUMN: the median of a column (1 first frame, 2 mapped).
median() {
    awk -v c="$2" '{ print $c }' "$scratch/$1" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

measure warm "$build"
[ -n "$other" ] && measure warm "$other"
for round in 1 2 3 4 5 6 7 8 9 10 11; do
    if [ -n "$other" ] && [ $((round % 2)) -eq 0 ]; then
        measure other "$other"
        measure this "$build"
    else
        measure this "$build"
        [ -n "$other" ] && measure other "$other"
    fi
done

echo "velmora start to first frame, median of 11 runs (ms)"
echo "                    first frame   mapped"
echo "  $build: $(median this 1)   $(median this 2)"
if [ -n "$other" ]; then
    echo "  $other: $(median other 1)   $(median other 2)"
    echo "  first frame, the first / the second = $(ratio "$(median this 1)" "$(median other 1)")"
fi
