# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the backend scripts: starts the tools, which lie at a fixed place
# relative to the scripts' folder, both in the build tree and in an installed
# tree.

tools="$(dirname -- "$(readlink -f -- "${BASH_SOURCE[0]}")")/@VELMORA_TOOLS_FROM_SCRIPTS@"

# run_tool NAME ARGS...: replaces this shell with the tool NAME, so that the
# stop and continue signals sent to this process reach the tool itself.
# Exits 127 when the tool is missing.
run_tool() {
    local tool="$tools/$1"
    shift
    if [[ ! -x $tool ]]; then
        echo "${0##*/}: missing tool $tool" >&2
        exit 127
    fi
    exec "$tool" "$@"
}
