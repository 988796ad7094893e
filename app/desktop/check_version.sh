#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# check_version.sh VERSION VELMORA METAINFO MANUAL_PAGE NEWS: the program, the
# metainfo's newest release, the manual page's header and the newest entry of
# NEWS.md all name the project's version VERSION.
set -eu
version=$1
failed=0
check() {
    if [ "$2" != "$3" ]; then
        echo "$1 says '$2', the project is '$3'" >&2
        failed=1
    fi
}
check "velmora --version" "$("$2" --version)" "velmora $version"
check "the metainfo" \
    "$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$3" | head -n 1)" "$version"
check "the manual page" \
    "$(sed -n 's/^\.TH VELMORA 1 [^ ]* "Velmora \([^"]*\)".*/\1/p' "$4")" "$version"
check "NEWS.md" "$(sed -n 's/^## \([^ ]*\).*/\1/p' "$5" | head -n 1)" "$version"
exit $failed
