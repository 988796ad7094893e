#!/bin/sh
# Moskel against two baselines, measured in the same run: 48 JPEG photos of
# 12 megapixels re-encoded at quality 50 with 2 workers, against one libvips
# process with 2 threads (vips_loop.cpp) and against xargs -P2 running
# `vips copy` once per photo. Each time is the best of three runs. Also
# times the encoder's start-up on a tiny JPEG. Usage: compress_bench.sh BUILD
set -eu
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
build=$(cd "${1:-build}" && pwd)
tools="$build/libexec/velmora"
vips_loop="$build/bench/vips_loop"
make_bench_photos="$build/bench/make_bench_photos"
for program in "$tools/Moskel" "$tools/velmora-encode" "$tools/velmora-encode-vips" \
    "$tools/velmora-limit" "$vips_loop" "$make_bench_photos"; do
    [ -x "$program" ] || { echo "no $program: build $build first" >&2; exit 1; }
done
command -v vips >/dev/null || { echo "needs the vips command (libvips-tools)" >&2; exit 1; }

scratch=$(mktemp -d /tmp/velmora-compress-bench.XXXXXX)
trap 'rm -rf "$scratch"' EXIT INT TERM

photos="$scratch/photos"
mkdir -p "$photos" "$scratch/job"
"$make_bench_photos" 48 4000 3000 "$photos"
ls "$photos"/*.jpg > "$scratch/job/files.txt"
list="$scratch/job/files.txt"

# timed NAME COMMAND...: runs COMMAND under GNU time; keeps the best wall
# time in NAME_time, the processor time (user + system, all its processes)
# of that run in NAME_cpu, and the largest peak resident size (KiB) of any
# process it started in NAME_peak.
timed() {
    name=$1
    shift
    /usr/bin/time -f "%e %U %S %M" -o "$scratch/time" "$@"
    read -r elapsed user system peak < "$scratch/time"
    eval "best=\${${name}_time:-}"
    if [ -z "$best" ] || awk -v a="$elapsed" -v b="$best" 'BEGIN { exit !(a < b) }'; then
        eval "${name}_time=$elapsed"
        eval "${name}_cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')"
    fi
    eval "top=\${${name}_peak:-0}"
    [ "$peak" -gt "$top" ] && eval "${name}_peak=$peak"
    return 0
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
bytes() { find "$1" -maxdepth 1 -type f -name '*.jpg' -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }'; }
fresh() { rm -rf "$1" && mkdir -p "$1"; }
sync

for round in 1 2 3; do
    rm -rf "$photos/COMPRESSED_50"
    timed moskel "$tools/Moskel" "$photos" "$scratch/job" 50 2
    status=$(cat "$scratch/job/status.txt")
    case "$status" in 48\|0\|*) ;; *) echo "Moskel failed: $status" >&2; exit 1 ;; esac

    fresh "$scratch/loop"
    timed loop "$vips_loop" 50 2 "$scratch/loop" "$list"

    fresh "$scratch/xargs"
    timed xargs xargs -d '\n' -P2 -I{} sh -c 'vips copy "$1" "$2/${1##*/}[Q=50]"' sh {} \
        "$scratch/xargs" < "$list"
done

echo "48 photos of 4000x3000, quality 50, 2 workers (best of 3 runs; wall, processor, peak RSS)"
printf '  Moskel          %6.2f s  cpu %6.2f s  peak %4d MiB\n' "$moskel_time" "$moskel_cpu" \
    $((moskel_peak / 1024))
printf '  vips loop       %6.2f s  cpu %6.2f s  peak %4d MiB\n' "$loop_time" "$loop_cpu" \
    $((loop_peak / 1024))
printf '  xargs vips copy %6.2f s  cpu %6.2f s  peak %4d MiB\n' "$xargs_time" "$xargs_cpu" \
    $((xargs_peak / 1024))
echo "  Moskel / vips loop:       $(ratio "$moskel_time" "$loop_time") (goal <= 1.30)," \
    "processor time $(ratio "$moskel_cpu" "$loop_cpu")"
echo "  xargs vips / vips loop:   $(ratio "$xargs_time" "$loop_time")"
echo "  Moskel / xargs vips:      $(ratio "$moskel_time" "$xargs_time")"
echo "  bytes before:             $(bytes "$photos")"
echo "  bytes after, Moskel:      $(bytes "$photos/COMPRESSED_50")"
echo "  bytes after, vips loop:   $(bytes "$scratch/loop")"
echo "  bytes after, xargs vips:  $(bytes "$scratch/xargs")"

# Start-up: 100 runs on a 64x48 JPEG, through the fast encoder and straight
# through the libvips one.
vips black "$scratch/tiny.v" 64 48 --bands 3
vips copy "$scratch/tiny.v" "$scratch/tiny.jpg[Q=90]"
startup() {
    start=$(date +%s.%N)
    i=0
    while [ $i -lt 100 ]; do
        "$1" -s format jpeg -s formatOptions 50 "$scratch/tiny.jpg" --out "$scratch/tiny-out.jpg"
        i=$((i + 1))
    done
    awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f", (e - s) * 10 }'
}
echo "encoder start-up on a 64x48 JPEG (mean of 100 runs, including the shell's fork)"
echo "  velmora-encode (libjpeg):      $(startup "$tools/velmora-encode") ms"
echo "  velmora-encode-vips (libvips): $(startup "$tools/velmora-encode-vips") ms"
