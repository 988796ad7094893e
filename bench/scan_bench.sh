#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Tallix against the least a sort scan can do, measured in the same run: a
# tree of 200,000 empty files (one in ten not a photo), 100 to a folder three
# folders deep, scanned by Tallix, by scan_floor.c (the same walk and the same
# writes in plain C), by find -type f and by compress-scan. Each figure is the
# median of 7 runs with a warm cache, as wall-clock time and as processor time
# (user and system; steadier on a busy machine). The peak memory of Tallix is
# then measured again on 1,000,000 files: it must not grow.
# Usage: scan_bench.sh BUILD_FOLDER
set -eu
build=$(cd "${1:-build}" && pwd)
tallix="$build/libexec/velmora/Tallix"
compress_scan="$build/libexec/velmora/compress-scan"
scan_floor="$build/bench/scan_floor"
scan_run="$build/bench/scan_run"
for program in "$tallix" "$compress_scan" "$scan_floor" "$scan_run"; do
    [ -x "$program" ] || { echo "no $program: build $build first" >&2; exit 1; }
done

scratch=$(mktemp -d /tmp/velmora-scan-bench.XXXXXX)
trap 'rm -rf "$scratch"' EXIT INT TERM
tree="$scratch/photos"
mkdir "$tree"

# grow_tree FROM TO: adds files number FROM to TO - 1.
grow_tree() {
    awk -v from="$1" -v to="$2" 'BEGIN {
        for (i = from; i < to; i++)
            printf "a%d/b%d/c%d/%s_%d.%s\n", int(i / 10000), int(i / 1000) % 10, int(i / 100) % 10,
                i % 10 == 9 ? "notes" : "IMG", i, i % 10 == 9 ? "txt" : "jpg"
    }' > "$scratch/new.txt"
    (cd "$tree" && sed 's|/[^/]*$||' "$scratch/new.txt" | uniq | xargs -d '\n' mkdir -p &&
        xargs -d '\n' touch < "$scratch/new.txt")
    rm "$scratch/new.txt"
}

# measure NAME PROGRAM ARGS...: adds the wall and processor seconds and the peak
# kilobytes of one run to the file NAME.
measure() {
    name=$1
    shift
    "$scan_run" "$@" >> "$scratch/$name" || { echo "$* failed" >&2; exit 1; }
}
# median NAME COLUMN: the median of a column (1 wall, 2 processor) of the file NAME.
median() {
    awk -v c="$2" '{ print $c }' "$scratch/$1" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
peak() { awk '{ print $3 }' "$scratch/$1" | sort -n | tail -1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# run_all ROUND: one run of each program; Tallix and the floor take turns at going first.
run_all() {
    if [ $(($1 % 2)) -eq 0 ]; then
        measure tallix "$tallix" "$tree" "$scratch/job-tallix"
        measure floor "$scan_floor" "$tree" "$scratch/job-floor"
    else
        measure floor "$scan_floor" "$tree" "$scratch/job-floor"
        measure tallix "$tallix" "$tree" "$scratch/job-tallix"
    fi
    measure find find "$tree" -type f
    measure compress "$compress_scan" "$tree" "$scratch/job-compress"
}

grow_tree 0 200000
run_all 0  # warms the cache
rm -f "$scratch/tallix" "$scratch/floor" "$scratch/find" "$scratch/compress"
for round in 1 2 3 4 5 6 7; do run_all $round; done
for list in files.txt odd.txt even.txt ignore.txt scan_status.txt summary.txt; do
    cmp -s "$scratch/job-tallix/$list" "$scratch/job-floor/$list" ||
        { echo "Tallix and scan_floor differ in $list" >&2; exit 1; }
done

echo "200000 files (20000 not photos) in 2000 folders; median of 7 warm runs"
echo "                  wall s    cpu s"
for name in tallix floor find compress; do
    case $name in
        tallix) label="Tallix        " ;;
        floor) label="scan_floor.c  " ;;
        find) label="find -type f  " ;;
        compress) label="compress-scan " ;;
    esac
    echo "  $label  $(median $name 1)    $(median $name 2)"
done
echo "  Tallix / scan_floor.c = $(ratio "$(median tallix 1)" "$(median floor 1)") wall," \
    "$(ratio "$(median tallix 2)" "$(median floor 2)") cpu (goal: at most 1.15)"
echo "  Tallix / find -type f = $(ratio "$(median tallix 1)" "$(median find 1)") wall," \
    "$(ratio "$(median tallix 2)" "$(median find 2)") cpu"
peak_small=$(peak tallix)

grow_tree 200000 1000000
rm -f "$scratch/tallix"
measure tallix "$tallix" "$tree" "$scratch/job-tallix"  # warms the cache
measure tallix "$tallix" "$tree" "$scratch/job-tallix"
[ "$(cat "$scratch/job-tallix/summary.txt")" = "900000|400000|500000|100000" ] ||
    { echo "unexpected summary on 1,000,000 files" >&2; exit 1; }
echo "  peak memory of Tallix: $peak_small kB for 200000 files, $(peak tallix) kB for 1000000 files"
