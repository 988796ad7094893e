#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# check_manual_page.sh MAN PAGE: formats the manual page PAGE with every
# warning of man and groff turned on, and fails on any warning.
set -eu
warnings=$(MANWIDTH=80 "$1" --warnings -l "$2" 2>&1 >/dev/null)
if [ -n "$warnings" ]; then
    printf '%s\n' "$warnings" >&2
    exit 1
fi
