#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check_bash_completion.sh COMPLETION: sources the bash completion file
# COMPLETION, then for each command line below sets COMP_WORDS and
# COMP_CWORD as bash does, calls the function it registered for velmora and
# compares COMPREPLY, sorted, with what the line must offer. Folders are
# completed in a temporary tree with folders, a file and a hidden folder.
set -u
completion=$1
# shellcheck source=/dev/null
source "$completion" || exit 1
function=$(complete -p velmora 2>/dev/null | sed -n 's/.*-F \([^ ]*\) velmora$/\1/p')
if [[ -z $function ]]; then
    echo "$completion registers no completion function for velmora" >&2
    exit 1
fi

tree=$(mktemp -d) || exit 1
trap 'rm -rf "$tree"' EXIT
mkdir "$tree/DCIM" "$tree/Foto Wisuda" "$tree/Foto-2024" "$tree/.cache"
: >"$tree/Foto.jpg"
cd "$tree" || exit 1

failed=0
# expect "WORD|WORD|...|" EXPECTED...: the words of the command line, the
# last one the word at the cursor, and each word it must offer.
expect() {
    IFS='|' read -r -a COMP_WORDS <<<"$1"
    [[ $1 == *"|" ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    shift
    COMPREPLY=()
    "$function" velmora "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got want
    got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\n' '|')
    want=$(printf '%s\n' "$@" | LC_ALL=C sort | tr '\n' '|')
    [[ $# -eq 0 ]] && want=""
    [[ ${#COMPREPLY[@]} -eq 0 ]] && got=""
    if [[ $got != "$want" ]]; then
        echo "velmora ${COMP_WORDS[*]:1}<TAB>: offered '$got', not '$want'" >&2
        failed=1
    fi
}

sort_options=(--copy --move --workers --odd --even --dry-run --quiet --json --help --version)
compress_options=(--quality --workers --dry-run --quiet --json --help --version)
qualities=()
for ((q = 1; q <= 100; q++)); do qualities+=("$q"); done

expect "velmora|" sort compress --help --version
expect "velmora|s" sort
expect "velmora|--v" --version
expect "velmora|sort|--" "${sort_options[@]}"
expect "velmora|compress|--" "${compress_options[@]}"
expect "velmora|sort|--copy|--" --workers --odd --even --dry-run --quiet --json --help --version
expect "velmora|sort|--move|--workers|2|--" --odd --even --dry-run --quiet --json --help --version
expect "velmora|sort|--e" --even
expect "velmora|compress|--odd" 
expect "velmora|sort|--workers|" 1 2 3 4 5 6 7 8
expect "velmora|compress|--workers|" 1 2 3 4 5 6 7 8
expect "velmora|sort|--odd|" 1 2 3 4 5 6 7 8
expect "velmora|sort|--even|7" 7
expect "velmora|sort|--workers|=|" 1 2 3 4 5 6 7 8
expect "velmora|sort|--odd|=|" 1 2 3 4 5 6 7 8
expect "velmora|sort|--even|=|3" 3
expect "velmora|sort|--workers=" --workers=1 --workers=2 --workers=3 --workers=4 \
    --workers=5 --workers=6 --workers=7 --workers=8
expect "velmora|compress|--quality|" "${qualities[@]}"
expect "velmora|compress|--quality|9" 9 90 91 92 93 94 95 96 97 98 99
expect "velmora|compress|--quality|=|10" 10 100
expect "velmora|compress|--quality=1" --quality=1 --quality=10 --quality=11 --quality=12 \
    --quality=13 --quality=14 --quality=15 --quality=16 --quality=17 --quality=18 \
    --quality=19 --quality=100
expect "velmora|sort|--quality|" DCIM "Foto Wisuda" Foto-2024
expect "velmora|sort|" DCIM "Foto Wisuda" Foto-2024
expect "velmora|compress|--quality|80|Fo" "Foto Wisuda" Foto-2024
expect "velmora|sort|--workers=3|--copy|D" DCIM
expect "velmora|sort|." .cache
expect "velmora|sort|DCIM/" 
expect "velmora|sort|Foto\\ W" "Foto Wisuda"
expect "velmora|sort|'Foto W" "Foto Wisuda"
expect "velmora|sort|\"Foto-" Foto-2024
expect "velmora|sort|DCIM|" --copy --move --workers --odd --even --dry-run --quiet --json --help --version
expect "velmora|compress|DCIM|--quality|50|--workers|4|" --dry-run --quiet --json --help --version
expect "velmora|frobnicate|"
exit $failed
