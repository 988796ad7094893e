#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Backend of the compress tab, run as: bash compress_backend.sh VERB ARGS...
#   scan SOURCE TMP QUALITY                  -> compress-scan SOURCE TMP
#   compress SOURCE TMP QUALITY WORKERS      -> Moskel SOURCE TMP QUALITY WORKERS
# The scan writes TMP/files.txt and TMP/summary.txt (photos|leftAside|bytes);
# it does not depend on the quality, which is taken for the same argument
# list as the run. Each verb replaces this shell with its tool, so that the
# stop and continue signals the application sends to this process reach the
# tool itself. Exit status: the tool's; 2 for a wrong verb or argument count;
# 127 when the tool is missing.

usage() {
    echo "usage: compress_backend.sh scan SOURCE TMP QUALITY" >&2
    echo "       compress_backend.sh compress SOURCE TMP QUALITY WORKERS" >&2
    exit 2
}

# The helper lies beside the script itself, wherever a link to it was started from.
source "$(dirname -- "$(readlink -f -- "${BASH_SOURCE[0]}")")/backend_tools.sh" || exit 127

case "${1-}" in
    scan) (($# == 4)) || usage; run_tool compress-scan "$2" "$3" ;;
    compress) (($# == 5)) || usage; run_tool Moskel "${@:2}" ;;
    *) usage ;;
esac
