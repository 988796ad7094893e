#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Brevin against plain baselines, measured in the same run:
#   MOVE of 45,000 empty files from nested folders into one odd and one even
#   folder, at 2 and at 8 workers, against a C loop of renameat2 and against
#   xargs mv -n;
#   COPY of 200 files of 4 MB against cp -p;
#   on an exFAT camera card image (exfat-fuse, as root), COPY of 40 photos of
#   2 MB against cp, and MOVE of 1,000 photos against mv.
# Each figure is the best of five runs, which keeps the noise of a busy
# machine out of the ratios; the processor time (user + system) of each
# side is shown beside the elapsed time. Usage: sort_bench.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
brevin="$build/libexec/velmora/Brevin"
rename_loop="$build/bench/rename_loop"
for program in "$brevin" "$rename_loop"; do
    [ -x "$program" ] || { echo "no $program: build $build first" >&2; exit 1; }
done

scratch=$(mktemp -d /tmp/velmora-sort-bench.XXXXXX)
cleanup() {
    if [ -n "${card:-}" ] && mountpoint -q "$card"; then umount "$card" || umount -l "$card"; fi
    [ -z "${loop:-}" ] || losetup -d "$loop"
    rm -rf "$scratch"
}
trap cleanup EXIT INT TERM

# timed NAME COMMAND...: runs COMMAND and keeps, in NAME_wall and NAME_cpu,
# the smallest elapsed and processor seconds seen so far.
timed() {
    local name=$1 wall user system cpu
    shift
    TIMEFORMAT='%R %U %S'
    { time "$@" > /dev/null 2> "$scratch/errors"; } 2> "$scratch/time"
    [ ! -s "$scratch/errors" ] || { cat "$scratch/errors" >&2; exit 1; }
    read -r wall user system < "$scratch/time"
    cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.3f", u + s }')
    keep_smaller "${name}_wall" "$wall"
    keep_smaller "${name}_cpu" "$cpu"
}
keep_smaller() {
    local current=${!1:-}
    if [ -z "$current" ] || awk -v a="$2" -v b="$current" 'BEGIN { exit !(a < b) }'; then
        printf -v "$1" '%s' "$2"
    fi
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# MOVE: 45,000 empty photos, 100 per folder in 450 folders nested two deep.
files=45000
make_move_tree() {
    rm -rf "$scratch/move"
    mkdir -p "$scratch/move/job" "$scratch/move/photos/GANJIL" "$scratch/move/photos/GENAP"
    awk -v root="$scratch/move/photos" -v n="$files" 'BEGIN {
        for (i = 0; i < n; i++) printf "%s/a%d/b%d/IMG_%d.jpg\n", root, int(i / 1000), int(i / 100), i
    }' > "$scratch/move/job/files.txt"
    sed 's|/[^/]*$||' "$scratch/move/job/files.txt" | uniq | xargs -d '\n' mkdir -p
    (cd "$scratch/move/photos" && sed "s|^$scratch/move/photos/||" "$scratch/move/job/files.txt" |
        xargs -d '\n' touch)
    grep '[13579]\.jpg$' "$scratch/move/job/files.txt" > "$scratch/move/odd.txt" || true
    grep '[02468]\.jpg$' "$scratch/move/job/files.txt" > "$scratch/move/even.txt" || true
    sync
}

photos="$scratch/move/photos"
check_moved() {
    [ "$(ls "$photos/GANJIL" | wc -l)" -eq $((files / 2)) ] || { echo "MOVE incomplete" >&2; exit 1; }
}
for round in 1 2 3 4 5; do
    for workers in 2 8; do
        make_move_tree
        timed "move_brevin$workers" "$brevin" "$photos" "$scratch/move/job" MOVE "$workers" 1 1
        check_moved
    done

    make_move_tree
    timed move_loop "$rename_loop" "$scratch/move/job/files.txt" "$photos/GANJIL" "$photos/GENAP"
    check_moved

    make_move_tree
    timed move_mv sh -c 'xargs -d "\n" mv -n -t "$1/GANJIL" < "$2/odd.txt" &&
        xargs -d "\n" mv -n -t "$1/GENAP" < "$2/even.txt"' mv "$photos" "$scratch/move"
    check_moved
done
rm -rf "$scratch/move"

# COPY: 200 photos of 4 MB, copied with 4 workers.
mkdir -p "$scratch/copy/photos/in" "$scratch/copy/job" "$scratch/copy/cp"
head -c $((4 << 20)) /dev/urandom > "$scratch/copy/seed"
i=0
while [ $i -lt 200 ]; do
    cp "$scratch/copy/seed" "$scratch/copy/photos/in/IMG_$i.jpg"
    echo "$scratch/copy/photos/in/IMG_$i.jpg" >> "$scratch/copy/job/files.txt"
    i=$((i + 1))
done
for round in 1 2 3 4 5; do
    rm -rf "$scratch/copy/photos/GANJIL" "$scratch/copy/photos/GENAP" "$scratch/copy/cp"/*
    sync
    timed copy_brevin "$brevin" "$scratch/copy/photos" "$scratch/copy/job" COPY 4 1 1
    [ "$(cut -d'|' -f1,2 "$scratch/copy/job/status.txt")" = "200|0" ] || { echo "COPY failed" >&2; exit 1; }

    sync
    timed copy_cp cp -p "$scratch/copy/photos/in"/*.jpg "$scratch/copy/cp/"
done

# exFAT: the camera card's own file system, where Brevin publishes each photo
# through an O_EXCL placeholder (no hard links, no no-replace rename).
exfat_skipped=""
if [ "$(id -u)" -ne 0 ]; then
    exfat_skipped="mounting needs root"
elif ! command -v mount.exfat-fuse > /dev/null || ! command -v mkfs.exfat > /dev/null; then
    exfat_skipped="exfat-fuse or exfatprogs is missing"
else
    truncate -s 512M "$scratch/card.img"
    mkfs.exfat "$scratch/card.img" > /dev/null
    card="$scratch/card"
    mkdir -p "$card" "$scratch/exfat-job"
    if ! loop=$(losetup -f --show "$scratch/card.img" 2> /dev/null); then
        loop="" exfat_skipped="no loop device"
    elif ! mount.exfat-fuse "$loop" "$card" > /dev/null 2>&1; then
        exfat_skipped="exfat-fuse could not mount"
    fi
fi
if [ -z "$exfat_skipped" ]; then
    head -c $((2 << 20)) /dev/urandom > "$scratch/seed2"
    for round in 1 2 3; do
        rm -rf "${card:?}"/*
        mkdir -p "$card/DCIM" "$card/cp"
        : > "$scratch/exfat-job/files.txt"
        for i in $(seq 1 40); do
            cp "$scratch/seed2" "$card/DCIM/IMG_$i.JPG"
            echo "$card/DCIM/IMG_$i.JPG" >> "$scratch/exfat-job/files.txt"
        done
        sync
        timed exfat_copy_brevin "$brevin" "$card" "$scratch/exfat-job" COPY 4 1 1
        [ "$(cut -d'|' -f1,2 "$scratch/exfat-job/status.txt")" = "40|0" ] || { echo "exFAT COPY failed" >&2; exit 1; }
        sync
        timed exfat_copy_cp cp "$card/DCIM"/*.JPG "$card/cp/"

        rm -rf "${card:?}"/*
        mkdir -p "$card/DCIM" "$card/mv/GANJIL" "$card/mv/GENAP"
        (cd "$card/DCIM" && seq 1 1000 | sed 's/.*/IMG_&.JPG/' | xargs -d '\n' sh -c 'for f; do echo photo > "$f"; done' sh)
        ls "$card/DCIM" | sed "s|^|$card/DCIM/|" > "$scratch/exfat-job/files.txt"
        sync
        timed exfat_move_brevin "$brevin" "$card" "$scratch/exfat-job" MOVE 4 1 1
        [ "$(cut -d'|' -f1,2 "$scratch/exfat-job/status.txt")" = "1000|0" ] || { echo "exFAT MOVE failed" >&2; exit 1; }
        (cd "$card/GANJIL" && mv -- * "$card/DCIM/") && (cd "$card/GENAP" && mv -- * "$card/DCIM/")
        sync
        timed exfat_move_mv sh -c 'cd "$1/DCIM" && ls | grep "[13579]\.JPG$" | xargs -d "\n" mv -t ../mv/GANJIL &&
            ls | xargs -d "\n" mv -t ../mv/GENAP' mv "$card"
    done
fi

echo "MOVE $files empty files (elapsed / processor seconds):"
echo "  renameat2 loop ${move_loop_wall} / ${move_loop_cpu}, xargs mv -n ${move_mv_wall} / ${move_mv_cpu}"
for workers in 2 8; do
    wall_var="move_brevin${workers}_wall" cpu_var="move_brevin${workers}_cpu"
    wall=${!wall_var} cpu=${!cpu_var}
    echo "  Brevin, $workers workers: ${wall} / ${cpu}"
    echo "    Brevin / loop = $(ratio "$wall" "$move_loop_wall")x elapsed, $(ratio "$cpu" "$move_loop_cpu")x processor (goal, elapsed: <= 1.15)"
    echo "    Brevin / mv   = $(ratio "$wall" "$move_mv_wall")x elapsed, $(ratio "$cpu" "$move_mv_cpu")x processor (goal, elapsed: < 1.0)"
done
echo "COPY 200 x 4 MB, 4 workers (elapsed / processor seconds):"
echo "  Brevin ${copy_brevin_wall} / ${copy_brevin_cpu}, cp -p ${copy_cp_wall} / ${copy_cp_cpu}"
echo "  Brevin / cp -p = $(ratio "$copy_brevin_wall" "$copy_cp_wall")x elapsed, $(ratio "$copy_brevin_cpu" "$copy_cp_cpu")x processor (goal, elapsed: <= 1.1)"
if [ -n "$exfat_skipped" ]; then
    echo "exFAT card: skipped ($exfat_skipped)"
else
    echo "exFAT card (exfat-fuse), 4 workers (elapsed / processor seconds):"
    echo "  COPY 40 x 2 MB: Brevin ${exfat_copy_brevin_wall} / ${exfat_copy_brevin_cpu}, cp ${exfat_copy_cp_wall} / ${exfat_copy_cp_cpu}"
    echo "    Brevin / cp = $(ratio "$exfat_copy_brevin_wall" "$exfat_copy_cp_wall")x elapsed (goal: <= 1.2)"
    echo "  MOVE 1000 photos: Brevin ${exfat_move_brevin_wall} / ${exfat_move_brevin_cpu}, mv ${exfat_move_mv_wall} / ${exfat_move_mv_cpu}"
    echo "    Brevin / mv = $(ratio "$exfat_move_brevin_wall" "$exfat_move_mv_wall")x elapsed (goal: <= 1.2)"
fi
