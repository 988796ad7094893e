#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Backend of the sort tab, run as: bash sorter_backend.sh VERB ARGS...
#   scan SOURCE TMP                          -> Tallix SOURCE TMP
#   sort SOURCE TMP MODE WORKERS ODD EVEN    -> Brevin SOURCE TMP MODE WORKERS ODD EVEN
# Each verb replaces this shell with its tool, so that the stop and continue
# signals the application sends to this process reach the tool itself.
# Exit status: the tool's; 2 for a wrong verb or argument count; 127 when the
# tool is missing.

usage() {
    echo "usage: sorter_backend.sh scan SOURCE TMP" >&2
    echo "       sorter_backend.sh sort SOURCE TMP MODE WORKERS ODD EVEN" >&2
    exit 2
}

# The helper lies beside the script itself, wherever a link to it was started from.
source "$(dirname -- "$(readlink -f -- "${BASH_SOURCE[0]}")")/backend_tools.sh" || exit 127

case "${1-}" in
    scan) (($# == 3)) || usage; run_tool Tallix "${@:2}" ;;
    sort) (($# == 7)) || usage; run_tool Brevin "${@:2}" ;;
    *) usage ;;
esac
