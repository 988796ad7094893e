# SPDX-License-Identifier: GPL-3.0-or-later
# bash completion for velmora(1): the subcommands sort and compress, their
# options, the numbers --workers, --odd, --even and --quality take, and
# folders for SOURCE. Installed as
# /usr/share/bash-completion/completions/velmora; it needs nothing from the
# bash-completion package.

# _velmora_numbers LOWEST HIGHEST PREFIX WORD: offers the numbers from LOWEST
# to HIGHEST that begin with WORD, each after PREFIX.
_velmora_numbers() {
    local n
    for ((n = $1; n <= $2; n++)); do
        [[ $n == "$4"* ]] && COMPREPLY+=("$3$n")
    done
}

_velmora() {
    COMPREPLY=()
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}

    # The subcommand, the SOURCE already given, and the options already
    # given, from the words before the cursor. An option's value is the
    # word after it, or follows its "=" (a word of its own where "=" breaks
    # words, as it does by default).
    local subcommand= source= given=" " word i
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        case $word in
            --workers | --odd | --even | --quality)
                given+="${word} "
                ((i++))
                [[ ${COMP_WORDS[i]} == = ]] && ((i++))
                ;;
            --*=*) given+="${word%%=*} " ;;
            -*) given+="$word " ;;
            *)
                if [[ -z $subcommand ]]; then
                    subcommand=$word
                elif [[ -z $source ]]; then
                    source=$word
                fi
                ;;
        esac
    done

    # The value of a number option: "--workers N", "--workers=N" as one
    # word, or "--workers" "=" "N" as three.
    local option= prefix=
    if [[ $cur == = ]]; then
        option=$prev
        cur=
    elif [[ $prev == = ]] && ((COMP_CWORD > 1)); then
        option=${COMP_WORDS[COMP_CWORD - 2]}
    elif [[ $cur == --*=* ]]; then
        option=${cur%%=*}
        prefix=$option=
        cur=${cur#*=}
    else
        option=$prev
    fi
    case $subcommand:$option in
        sort:--workers | compress:--workers | sort:--odd | sort:--even)
            _velmora_numbers 1 8 "$prefix" "$cur"
            return
            ;;
        compress:--quality)
            _velmora_numbers 1 100 "$prefix" "$cur"
            return
            ;;
    esac

    local options
    case $subcommand in
        "")
            COMPREPLY=($(compgen -W "sort compress --help --version" -- "$cur"))
            return
            ;;
        sort)
            options="--copy --move --workers --odd --even --dry-run --quiet --json --help --version"
            # --copy and --move exclude each other.
            [[ $given == *" --copy "* || $given == *" --move "* ]] &&
                options=${options/--copy --move /}
            ;;
        compress) options="--quality --workers --dry-run --quiet --json --help --version" ;;
        *) return ;;
    esac
    if [[ $cur == -* || -n $source ]]; then
        for word in $options; do
            [[ $given == *" $word "* ]] && continue
            [[ $word == "$cur"* ]] && COMPREPLY+=("$word")
        done
        return
    fi
    # SOURCE: folders only, each as one word whatever it holds; hidden ones
    # once the word begins with a dot, and never "." or "..".
    # The word as typed may open a quote or escape its blanks ("Foto\ W");
    # readline quotes the folders offered again.
    local path=$cur
    [[ $path == [\'\"]* ]] && path=${path:1}
    path=${path//\\/}
    compopt -o filenames 2>/dev/null
    local IFS=$'\n'
    for word in $(compgen -d -- "$path"); do
        case ${word##*/} in
            . | ..) continue ;;
            .*) [[ ${path##*/} == .* ]] || continue ;;
        esac
        COMPREPLY+=("$word")
    done
}
complete -F _velmora velmora
