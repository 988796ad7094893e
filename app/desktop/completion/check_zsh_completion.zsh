#!/bin/zsh -f
# SPDX-License-Identifier: GPL-3.0-or-later
# check_zsh_completion.zsh FOLDER: loads the zsh completion _velmora from
# FOLDER into an interactive zsh on a pseudo-terminal, presses Tab after
# each command line below, and compares the matches the completion offered
# with what the line must offer. compadd is wrapped to write each match to a
# file instead of the screen; nothing the terminal draws is read.
zmodload zsh/zpty || { print -u2 "zsh has no zpty module"; exit 1 }
folder=${1:A}
[[ -r $folder/_velmora ]] || { print -u2 "no _velmora in $folder"; exit 1 }

tree=$(mktemp -d) || exit 1
trap 'rm -rf -- $tree' EXIT
mkdir $tree/DCIM "$tree/Foto Wisuda" $tree/Foto-2024 $tree/.cache
: >$tree/Foto.jpg

# Run in the shell under test: Tab completes the line, then writes a line
# "end" and empties the line for the next case; compadd writes each match to
# $out, one a line.
out=$tree/.matches
: >$out
cat >$tree/.capture.zsh <<'CAPTURE'
compadd() {
    # Calls that only ask for matches, or take them from a list, are the
    # completion system's own; they pass through untouched.
    if (( ${@[(I)-[OAD]*]} )); then
        builtin compadd "$@"
        return
    fi
    local -a found
    builtin compadd -O found "$@"
    (( $#found )) && print -rl -- $found >>$capture_out
    builtin compadd "$@"
}
capture-tab() {
    zle complete-word
    print -r -- end >>$capture_out
    zle kill-whole-line
}
zle -N capture-tab
bindkey '^I' capture-tab
zstyle ':completion:*' menu no
zstyle ':completion:*' list-prompt ''
CAPTURE
zpty -b shell zsh -f -i
zpty -w shell "cd ${(q)tree}; fpath=(${(q)folder} \$fpath); autoload -Uz compinit; compinit -u -D; capture_out=${(q)out}; source .capture.zsh"

failed=0
integer cases=0
# expect LINE EXPECTED...: Tab pressed at the end of LINE offers EXPECTED.
expect() {
    local line=$1
    shift
    (( cases++ ))
    zpty -w -n shell "$line"$'\t'
    # The shell writes "end" once it has completed; give it up to a minute,
    # then count the case as failed.
    integer waited=0
    while (( $(grep -c '^end$' $out) < cases )) && (( waited++ < 600 )); do
        sleep 0.1
    done
    local -a matches=(${(f)"$(awk -v n=$cases '/^end$/ { k++; next } k == n - 1' $out)"})
    local got=${(j:|:)${(ou)matches}} want=${(j:|:)${(o)@}}
    if [[ $got != $want ]]; then
        print -u2 -r -- "$line<TAB>: offered '$got', not '$want'"
        failed=1
    fi
}

expect 'velmora ' sort compress
expect 'velmora s' sort
expect 'velmora --v' --version
expect 'velmora sort --' --copy --move --workers --odd --even --dry-run --quiet --json --help --version
expect 'velmora compress --' --quality --workers --dry-run --quiet --json --help --version
expect 'velmora sort --copy --' --workers --odd --even --dry-run --quiet --json --help --version
expect 'velmora sort --workers ' 1 2 3 4 5 6 7 8
expect 'velmora sort --odd=' 1 2 3 4 5 6 7 8
expect 'velmora sort --even=7' 7
expect 'velmora compress --quality 9' 9 90 91 92 93 94 95 96 97 98 99
expect 'velmora compress --quality=10' 10 100
expect 'velmora sort ' DCIM 'Foto\ Wisuda' Foto-2024
expect 'velmora compress --quality 80 Fo' 'Foto\ Wisuda' Foto-2024
zpty -d shell
exit $failed
