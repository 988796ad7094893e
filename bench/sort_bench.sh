#!/bin/sh
# Brevin against plain baselines, measured in the same run:
#   MOVE of 45,000 empty files from nested folders into one odd and one even
#   folder, 2 workers, against a C loop of renameat2 and against xargs mv -n;
#   COPY of 200 files of 4 MB against cp -p.
# Each figure is the best of three runs. Usage: sort_bench.sh BUILD_FOLDER
set -eu
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
brevin="$build/libexec/velmora/Brevin"
[ -x "$brevin" ] || { echo "no Brevin in $build" >&2; exit 1; }

scratch=$(mktemp -d /tmp/velmora-sort-bench.XXXXXX)
trap 'rm -rf "$scratch"' EXIT INT TERM
cc -O2 -o "$scratch/rename_loop" "$here/rename_loop.c"

now() { date +%s.%N; }
# best VAR START END: keeps the smaller of $VAR and END - START in VAR.
best() {
    eval "current=\${$1:-}"
    elapsed=$(awk -v s="$2" -v e="$3" 'BEGIN { printf "%.4f", e - s }')
    if [ -z "$current" ] || awk -v a="$elapsed" -v b="$current" 'BEGIN { exit !(a < b) }'; then
        eval "$1=$elapsed"
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
for round in 1 2 3; do
    make_move_tree
    start=$(now)
    "$brevin" "$photos" "$scratch/move/job" MOVE 2 1 1
    best move_brevin "$start" "$(now)"
    [ "$(ls "$photos/GANJIL" | wc -l)" -eq $((files / 2)) ] || { echo "MOVE incomplete" >&2; exit 1; }

    make_move_tree
    start=$(now)
    "$scratch/rename_loop" "$scratch/move/job/files.txt" "$photos/GANJIL" "$photos/GENAP"
    best move_loop "$start" "$(now)"

    make_move_tree
    start=$(now)
    xargs -d '\n' mv -n -t "$photos/GANJIL" < "$scratch/move/odd.txt"
    xargs -d '\n' mv -n -t "$photos/GENAP" < "$scratch/move/even.txt"
    best move_mv "$start" "$(now)"
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
for round in 1 2 3; do
    rm -rf "$scratch/copy/photos/GANJIL" "$scratch/copy/photos/GENAP" "$scratch/copy/cp"/*
    sync
    start=$(now)
    "$brevin" "$scratch/copy/photos" "$scratch/copy/job" COPY 4 1 1
    best copy_brevin "$start" "$(now)"
    [ "$(cut -d'|' -f1,2 "$scratch/copy/job/status.txt")" = "200|0" ] || { echo "COPY failed" >&2; exit 1; }

    sync
    start=$(now)
    cp -p "$scratch/copy/photos/in"/*.jpg "$scratch/copy/cp/"
    best copy_cp "$start" "$(now)"
done

echo "MOVE $files empty files, 2 workers: Brevin ${move_brevin}s, renameat2 loop ${move_loop}s, xargs mv -n ${move_mv}s"
echo "  Brevin / loop = $(ratio "$move_brevin" "$move_loop")x (goal <= 1.3)"
echo "  Brevin / mv   = $(ratio "$move_brevin" "$move_mv")x (goal < 1.0)"
echo "COPY 200 x 4 MB, 4 workers: Brevin ${copy_brevin}s, cp -p ${copy_cp}s"
echo "  Brevin / cp -p = $(ratio "$copy_brevin" "$copy_cp")x (goal <= 1.1)"
