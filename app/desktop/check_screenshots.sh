#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# check_screenshots.sh METAINFO DOCS: every screenshot the metainfo names is a
# picture in the folder DOCS under the same name, a PNG of the width and
# height the metainfo gives. Fails on the first one that is not, and when the
# metainfo names none.
set -eu
metainfo=$1
docs=$2
images=$(grep -o '<image[^>]*>[^<]*</image>' "$metainfo" || true)
if [ -z "$images" ]; then
    echo "$metainfo names no screenshot" >&2
    exit 1
fi
# The big-endian 32-bit number at byte OFFSET of FILE.
be32() {
    od -An -tu1 -j "$2" -N4 "$1" | awk '{ print (($1 * 256 + $2) * 256 + $3) * 256 + $4 }'
}
printf '%s\n' "$images" | while IFS= read -r image; do
    url=${image#*>}
    url=${url%</image>}
    case $url in
        */docs/*) name=${url##*/docs/} ;;
        *) echo "not a picture of docs/: $url" >&2; exit 1 ;;
    esac
    file=$docs/$name
    if [ ! -f "$file" ]; then
        echo "missing in docs/: $name" >&2
        exit 1
    fi
    signature=$(od -An -tx1 -N8 "$file" | tr -d ' ')
    if [ "$signature" != 89504e470d0a1a0a ]; then
        echo "not a PNG: $name" >&2
        exit 1
    fi
    width=$(printf '%s\n' "$image" | sed -n 's/.* width="\([0-9]*\)".*/\1/p')
    height=$(printf '%s\n' "$image" | sed -n 's/.* height="\([0-9]*\)".*/\1/p')
    actual="$(be32 "$file" 16)x$(be32 "$file" 20)"
    if [ "${width}x${height}" != "$actual" ]; then
        echo "$name is $actual, the metainfo says ${width}x${height}" >&2
        exit 1
    fi
    echo "$name $actual"
done
