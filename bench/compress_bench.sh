#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Moskel against its baselines and its peer, measured in the same run, all at
# quality 50 with 2 workers:
#   48 generated JPEG photos of 12 megapixels, re-encoded by Moskel, by one
#   libvips process with 2 threads (vips_loop.cpp) with libjpeg's default
#   Huffman tables and again with tables optimised for each image, by xargs
#   -P2 running `vips copy` once per photo, and by `jpegoptim -m50
#   --all-normal` on copies of the photos, two at a time;
#   16 of those photos saved again at quality 35, below the target: Moskel,
#   which rewrites them losslessly, transcode_loop (velmora-encode's JPEG
#   path in one process, 2 threads) rewriting them and re-encoding them as
#   Moskel did before, and jpegoptim; how many outputs keep their source's
#   pixels exactly and how many are larger than their source;
#   24 small photos (64 pixels wide) at qualities 30, 60 and 95, through
#   Moskel: the same two counts;
#   the camera photographs of Debian's mate-backgrounds package, re-encoded
#   by Moskel, by the libvips loop and by jpegoptim, for bytes and fidelity
#   only ("skipped" without the package or without jpegoptim).
# Each time is the best of five runs, which keeps the noise of a busy machine
# out of the ratios; the processor time of that run is printed beside it.
# Fidelity is the mean PSNR of the outputs against their sources (psnr.cpp).
# Every ratio is printed beside its goal. Also times the encoder's start-up on
# a tiny JPEG.
# Usage: compress_bench.sh BUILD
set -eu
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
build=$(cd "${1:-build}" && pwd)
tools="$build/libexec/velmora"
vips_loop="$build/bench/vips_loop"
make_bench_photos="$build/bench/make_bench_photos"
psnr="$build/bench/psnr"
transcode_loop="$build/encoder/transcode_loop"
for program in "$tools/Moskel" "$tools/velmora-encode" "$tools/velmora-encode-vips" \
    "$tools/velmora-limit" "$vips_loop" "$make_bench_photos" "$psnr" "$transcode_loop"; do
    [ -x "$program" ] || { echo "no $program: build $build first" >&2; exit 1; }
done
command -v vips >/dev/null || { echo "needs the vips command (libvips-tools)" >&2; exit 1; }
jpegoptim=$(command -v jpegoptim || true)
natural_folder=/usr/share/backgrounds/mate/nature

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
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
difference() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%+.3f", a - b }'; }
bytes() { find "$1" -maxdepth 1 -type f -name '*.jpg' -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }'; }
fresh() { rm -rf "$1" && mkdir -p "$1"; }
# copies LIST OUTDIR: fresh copies in OUTDIR of the photos in LIST, and
# their list in OUTDIR.txt, for jpegoptim to work on in place.
copies() {
    fresh "$2"
    xargs -d '\n' cp -t "$2" < "$1"
    ls "$2"/*.jpg > "$2.txt"
}
# same_pixels LIST OUTDIR: how many outputs in OUTDIR decode to exactly the
# pixels of their source in LIST.
same_pixels() {
    count=0
    while read -r source; do
        vips rawsave "$source" "$scratch/before.raw"
        vips rawsave "$2/${source##*/}" "$scratch/after.raw"
        cmp -s "$scratch/before.raw" "$scratch/after.raw" && count=$((count + 1))
    done < "$1"
    rm -f "$scratch/before.raw" "$scratch/after.raw"
    echo "$count"
}
# larger LIST OUTDIR: how many outputs in OUTDIR are larger than their source.
larger() {
    count=0
    while read -r source; do
        [ "$(stat -c %s "$2/${source##*/}")" -gt "$(stat -c %s "$source")" ] && count=$((count + 1))
    done < "$1"
    echo "$count"
}
line() { printf '  %-30s %8.2f s  cpu %6.2f s  peak %4d MiB\n' "$1" "$2" "$3" $(($4 / 1024)); }
sync

for round in 1 2 3 4 5; do
    rm -rf "$photos/COMPRESSED_50"
    timed moskel "$tools/Moskel" "$photos" "$scratch/job" 50 2
    status=$(cat "$scratch/job/status.txt")
    case "$status" in 48\|0\|*) ;; *) echo "Moskel failed: $status" >&2; exit 1 ;; esac

    fresh "$scratch/loop"
    timed loop "$vips_loop" 50 2 "$scratch/loop" "$list"

    fresh "$scratch/optimized"
    timed optimized "$vips_loop" 50 2 "$scratch/optimized" "$list" optimize

    fresh "$scratch/xargs"
    timed xargs xargs -d '\n' -P2 -I{} sh -c 'vips copy "$1" "$2/${1##*/}[Q=50]"' sh {} \
        "$scratch/xargs" < "$list"

    if [ -n "$jpegoptim" ]; then
        copies "$list" "$scratch/jpegoptim"
        timed peer xargs -d '\n' -P2 -n1 "$jpegoptim" -q -m50 --all-normal \
            < "$scratch/jpegoptim.txt"
    fi
done

echo "48 photos of 4000x3000, quality 50, 2 workers (best of 5 runs; wall, processor, peak RSS)"
line "Moskel" "$moskel_time" "$moskel_cpu" "$moskel_peak"
line "vips loop, default tables" "$loop_time" "$loop_cpu" "$loop_peak"
line "vips loop, optimize_coding" "$optimized_time" "$optimized_cpu" "$optimized_peak"
line "xargs vips copy" "$xargs_time" "$xargs_cpu" "$xargs_peak"
[ -z "$jpegoptim" ] || line "xargs jpegoptim" "$peer_time" "$peer_cpu" "$peer_peak"
moskel_bytes=$(bytes "$photos/COMPRESSED_50")
loop_bytes=$(bytes "$scratch/loop")
moskel_psnr=$("$psnr" "$list" "$photos/COMPRESSED_50")
loop_psnr=$("$psnr" "$list" "$scratch/loop")
echo "  bytes before:                   $(bytes "$photos")"
echo "  bytes after, Moskel:            $moskel_bytes, PSNR $moskel_psnr dB"
echo "  bytes after, vips default:      $loop_bytes, PSNR $loop_psnr dB"
echo "  bytes after, vips optimized:    $(bytes "$scratch/optimized")," \
    "PSNR $("$psnr" "$list" "$scratch/optimized") dB"
echo "  bytes after, xargs vips copy:   $(bytes "$scratch/xargs")"
echo "  Moskel / vips default, bytes:   $(ratio "$moskel_bytes" "$loop_bytes") (goal <= 0.88)"
echo "  Moskel - vips default, PSNR:    $(difference "$moskel_psnr" "$loop_psnr") dB" \
    "(goal >= -0.05)"
echo "  Moskel / vips optimized, time:  $(ratio "$moskel_time" "$optimized_time")" \
    "(goal <= 1.00), processor time $(ratio "$moskel_cpu" "$optimized_cpu")"
echo "  Moskel / vips default, time:    $(ratio "$moskel_time" "$loop_time")," \
    "processor time $(ratio "$moskel_cpu" "$loop_cpu")"
echo "  Moskel / xargs vips copy, time: $(ratio "$moskel_time" "$xargs_time")"
if [ -n "$jpegoptim" ]; then
    peer_bytes=$(bytes "$scratch/jpegoptim")
    echo "  bytes after, jpegoptim:         $peer_bytes," \
        "PSNR $("$psnr" "$list" "$scratch/jpegoptim") dB"
    echo "  Moskel / jpegoptim, bytes:      $(ratio "$moskel_bytes" "$peer_bytes") (goal <= 1.00)"
    echo "  Moskel / jpegoptim, time:       $(ratio "$moskel_time" "$peer_time") (goal <= 0.60)," \
        "processor time $(ratio "$moskel_cpu" "$peer_cpu")"
else
    echo "  jpegoptim: skipped (install jpegoptim)"
fi

# Sources below the target quality: the lossless rewrite against the lossy
# re-encoding and jpegoptim, best of five runs each.
below="$scratch/below"
mkdir -p "$below" "$scratch/below-job"
head -n 16 "$list" | while read -r photo; do vips copy "$photo" "$below/${photo##*/}[Q=35]"; done
ls "$below"/*.jpg > "$scratch/below-job/files.txt"
below_list="$scratch/below.txt"
cp "$scratch/below-job/files.txt" "$below_list"
sync
for round in 1 2 3 4 5; do
    rm -rf "$below/COMPRESSED_50"
    timed below_moskel "$tools/Moskel" "$below" "$scratch/below-job" 50 2
    case "$(cat "$scratch/below-job/status.txt")" in 16\|0\|*) ;; *)
        echo "Moskel failed on the quality 35 photos: $(cat "$scratch/below-job/status.txt")" >&2
        exit 1
        ;;
    esac
    fresh "$scratch/rewrite"
    timed rewrite "$transcode_loop" 50 2 "$scratch/rewrite" "$below_list"
    fresh "$scratch/requantize"
    timed requantize "$transcode_loop" 50 2 "$scratch/requantize" "$below_list" requantize
    if [ -n "$jpegoptim" ]; then
        copies "$below_list" "$scratch/below-jpegoptim"
        timed below_peer xargs -d '\n' -P2 -n1 "$jpegoptim" -q -m50 --all-normal \
            < "$scratch/below-jpegoptim.txt"
    fi
done
echo "16 photos of 4000x3000 at quality 35, compressed at 50, 2 workers (best of 5 runs)"
line "Moskel (lossless rewrite)" "$below_moskel_time" "$below_moskel_cpu" "$below_moskel_peak"
line "transcode_loop, rewrite" "$rewrite_time" "$rewrite_cpu" "$rewrite_peak"
line "transcode_loop, re-encode" "$requantize_time" "$requantize_cpu" "$requantize_peak"
[ -z "$jpegoptim" ] || line "xargs jpegoptim" "$below_peer_time" "$below_peer_cpu" "$below_peer_peak"
moskel_bytes=$(bytes "$below/COMPRESSED_50")
rewrite_bytes=$(bytes "$scratch/rewrite")
requantize_bytes=$(bytes "$scratch/requantize")
echo "  bytes before:                   $(bytes "$below")"
echo "  bytes after, Moskel:            $moskel_bytes, PSNR $("$psnr" "$below_list" "$below/COMPRESSED_50") dB"
echo "  bytes after, rewrite:           $rewrite_bytes"
echo "  bytes after, re-encode:         $requantize_bytes," \
    "PSNR $("$psnr" "$below_list" "$scratch/requantize") dB"
echo "  rewrite / re-encode, bytes:     $(ratio "$rewrite_bytes" "$requantize_bytes")," \
    "time $(ratio "$rewrite_time" "$requantize_time")," \
    "processor time $(ratio "$rewrite_cpu" "$requantize_cpu")"
if [ -n "$jpegoptim" ]; then
    peer_bytes=$(bytes "$scratch/below-jpegoptim")
    echo "  bytes after, jpegoptim:         $peer_bytes," \
        "PSNR $("$psnr" "$below_list" "$scratch/below-jpegoptim") dB," \
        "$(same_pixels "$below_list" "$scratch/below-jpegoptim") of 16 with the same pixels"
    echo "  Moskel / jpegoptim, bytes:      $(ratio "$moskel_bytes" "$peer_bytes") (goal <= 1.00)"
    echo "  Moskel / jpegoptim, time:       $(ratio "$below_moskel_time" "$below_peer_time")," \
        "processor time $(ratio "$below_moskel_cpu" "$below_peer_cpu")"
fi
echo "  Moskel, same pixels as source:  $(same_pixels "$below_list" "$below/COMPRESSED_50")" \
    "of 16 (goal 16)"
echo "  Moskel, larger than source:     $(larger "$below_list" "$below/COMPRESSED_50") (goal 0)"

# Small photos above and below the target: none may grow, and those below
# keep their pixels.
small="$scratch/small"
mkdir -p "$small" "$scratch/small-job"
for quality in 30 60 95; do
    head -n 8 "$list" | while read -r photo; do
        name=${photo##*/}
        vips thumbnail "$photo" "$small/q${quality}_$name[Q=$quality]" 64
    done
done
ls "$small"/*.jpg > "$scratch/small-job/files.txt"
"$tools/Moskel" "$small" "$scratch/small-job" 50 2
case "$(cat "$scratch/small-job/status.txt")" in 24\|0\|*) ;; *)
    echo "Moskel failed on the small photos: $(cat "$scratch/small-job/status.txt")" >&2
    exit 1
    ;;
esac
ls "$small"/q30_*.jpg > "$scratch/small-below.txt"
echo "24 photos of 64x48 at quality 30, 60 and 95, compressed at 50"
echo "  bytes before:                   $(bytes "$small")"
echo "  bytes after, Moskel:            $(bytes "$small/COMPRESSED_50")," \
    "$(awk -F'\t' '$2 == "kept"' "$scratch/small-job/outputs.txt" | wc -l) kept as they were"
echo "  Moskel, larger than source:     $(larger "$scratch/small-job/files.txt" \
    "$small/COMPRESSED_50") (goal 0)"
echo "  quality 30, same pixels:        $(same_pixels "$scratch/small-below.txt" \
    "$small/COMPRESSED_50") of 8 (goal 8)"

# Camera photographs shipped by a Debian package: bytes and fidelity only.
echo "natural photos ($natural_folder), quality 50, 2 workers"
if ls "$natural_folder"/*.jpg > "$scratch/natural.txt" 2>/dev/null; then
    natural="$scratch/natural"
    fresh "$natural/job"
    cp "$scratch/natural.txt" "$natural/job/files.txt"
    count=$(wc -l < "$scratch/natural.txt")
    "$tools/Moskel" "$natural" "$natural/job" 50 2
    case "$(cat "$natural/job/status.txt")" in "$count|0|"*) ;; *)
        echo "Moskel failed on the natural photos: $(cat "$natural/job/status.txt")" >&2
        exit 1
        ;;
    esac
    fresh "$natural/vips"
    "$vips_loop" 50 2 "$natural/vips" "$scratch/natural.txt"
    moskel_bytes=$(bytes "$natural/COMPRESSED_50")
    loop_bytes=$(bytes "$natural/vips")
    moskel_psnr=$("$psnr" "$scratch/natural.txt" "$natural/COMPRESSED_50")
    loop_psnr=$("$psnr" "$scratch/natural.txt" "$natural/vips")
    echo "  bytes before, $count photos:       $(bytes "$natural_folder")"
    echo "  bytes after, Moskel:            $moskel_bytes, PSNR $moskel_psnr dB"
    echo "  bytes after, vips default:      $loop_bytes, PSNR $loop_psnr dB"
    echo "  Moskel / vips default, bytes:   $(ratio "$moskel_bytes" "$loop_bytes") (goal <= 0.975)"
    echo "  Moskel - vips default, PSNR:    $(difference "$moskel_psnr" "$loop_psnr") dB" \
        "(goal >= -0.05)"
    if [ -n "$jpegoptim" ]; then
        copies "$scratch/natural.txt" "$natural/jpegoptim"
        xargs -d '\n' -P2 -n1 "$jpegoptim" -q -m50 --all-normal < "$natural/jpegoptim.txt"
        peer_bytes=$(bytes "$natural/jpegoptim")
        echo "  bytes after, jpegoptim:         $peer_bytes," \
            "PSNR $("$psnr" "$scratch/natural.txt" "$natural/jpegoptim") dB"
        echo "  Moskel / jpegoptim, bytes:      $(ratio "$moskel_bytes" "$peer_bytes")" \
            "(goal <= 1.00)"
    fi
else
    echo "  skipped (install mate-backgrounds)"
fi

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
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
