#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check_completion_options.sh VELMORA BASH_COMPLETION ZSH_COMPLETION: every
# long option that `VELMORA --help` lists is offered by the bash completion
# after "velmora sort --" or "velmora compress --", and is an option of the
# zsh completion's argument specifications, so that an option added to the
# command line is not forgotten there.
set -u
velmora=$1
options=$("$velmora" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
if [[ -z $options ]]; then
    echo "velmora --help lists no option" >&2
    exit 1
fi
# shellcheck source=/dev/null
source "$2" || exit 1
function=$(complete -p velmora | sed -n 's/.*-F \([^ ]*\) velmora$/\1/p')
offered=" "
for subcommand in sort compress; do
    COMP_WORDS=(velmora "$subcommand" --)
    COMP_CWORD=2
    COMPREPLY=()
    "$function" velmora -- "$subcommand"
    offered+="${COMPREPLY[*]} "
done
failed=0
for option in $options; do
    if [[ $offered != *" $option "* ]]; then
        echo "the bash completion does not offer $option" >&2
        failed=1
    fi
    # In the zsh specifications: --option[…], --option=[…] or {-x,--option}'[…].
    if ! grep -qE -- "${option}(=|\}')?\[" "$3"; then
        echo "the zsh completion does not offer $option" >&2
        failed=1
    fi
done
exit $failed
