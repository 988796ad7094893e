#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package's tests, run by ctest from the build folder:
#
#   check-package.sh build SOURCE CPACK_CONFIG FOLDER
#       makes the package with `cpack -G DEB` into FOLDER, as `make package`
#       does (SOURCE_DATE_EPOCH from the environment, else from the last
#       commit of SOURCE);
#   check-package.sh lintian FOLDER VERSION [LINTIAN]
#       checks that the package in FOLDER has version VERSION and that LINTIAN
#       reports neither error nor warning on it; exits 77 (skipped) when
#       lintian is not installed;
#   check-package.sh reproducible SOURCE CPACK_CONFIG FOLDER
#       makes the package a second time into FOLDER/again and fails unless it
#       has the same bytes as the one in FOLDER;
#   check-package.sh clean-builds SOURCE FOLDER
#       copies the files of the checkout SOURCE twice, to two folders of
#       different path lengths in FOLDER, configures, builds (without the
#       tests) and packages each in a build folder of its own, and fails
#       unless the two packages have the same bytes; diffoscope, where it is
#       installed, then says what differs. Exits 77 (skipped) when SOURCE is
#       no git checkout.
set -eu

# The one .deb in folder $1.
package_in() {
    set -- "$1"/*.deb
    if [ "$#" -ne 1 ] || [ ! -f "$1" ]; then
        echo "expected one .deb, found: $*" >&2
        exit 1
    fi
    echo "$1"
}

# make_package SOURCE CPACK_CONFIG FOLDER
make_package() {
    if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
        SOURCE_DATE_EPOCH=$(git -C "$1" log -1 --format=%ct 2>/dev/null || echo 1)
    fi
    export SOURCE_DATE_EPOCH
    rm -rf "$3"
    mkdir -p "$3"
    cpack -G DEB --config "$2" -B "$3" >"$3/cpack.log" 2>&1 || {
        cat "$3/cpack.log" >&2
        exit 1
    }
    package_in "$3"
}

mode=$1
shift
case $mode in
    build)
        make_package "$1" "$2" "$3"
        ;;
    lintian)
        deb=$(package_in "$1")
        lintian=${3:-}
        if [ -z "$lintian" ] || [ ! -x "$lintian" ]; then
            echo "SKIPPED: lintian is not installed (apt-get install lintian)"
            exit 77
        fi
        version=$(dpkg-deb -f "$deb" Version)
        if [ "$version" != "$2" ]; then
            echo "the package is version '$version', the project '$2'" >&2
            exit 1
        fi
        status=0
        report=$("$lintian" --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1) ||
            status=$?
        # Lintian warns when run as root; that is about the run, not the package.
        printf '%s\n' "$report" | grep -v 'running with root privileges is not recommended' || true
        exit $status
        ;;
    reproducible)
        first=$(package_in "$3")
        second=$(make_package "$1" "$2" "$3/again")
        if ! cmp "$first" "$second"; then
            for deb in "$first" "$second"; do
                dpkg-deb --fsys-tarfile "$deb" | tar -tv --full-time >"$deb.list"
                dpkg-deb -I "$deb" >"$deb.info"
            done
            diff "$first.list" "$second.list" >&2 || true
            diff "$first.info" "$second.info" >&2 || true
            exit 1
        fi
        echo "two builds of $(basename "$first"): the same $(wc -c <"$first") bytes"
        ;;
    clean-builds)
        source=$1
        folder=$2
        if ! git -C "$source" rev-parse --show-toplevel >/dev/null 2>&1; then
            echo "SKIPPED: $source is no git checkout, whose files could be copied"
            exit 77
        fi
        if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
            SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct)
        fi
        export SOURCE_DATE_EPOCH
        rm -rf "$folder"
        debs=""
        for copy in a second-copy; do
            # The files of the checkout as they are now, changes included.
            mkdir -p "$folder/$copy/src"
            git -C "$source" ls-files -z --cached --others --exclude-standard |
                (cd "$source" && tar -cf - --no-recursion --ignore-failed-read --null -T -) |
                tar -xf - -C "$folder/$copy/src"
            log="$folder/$copy/build.log"
            { cmake -S "$folder/$copy/src" -B "$folder/$copy/build" \
                -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF &&
                cmake --build "$folder/$copy/build" -j"$(nproc)" &&
                (cd "$folder/$copy/build" && cpack -G DEB); } >"$log" 2>&1 || {
                tail -n 50 "$log" >&2
                exit 1
            }
            debs="$debs $(package_in "$folder/$copy/build")"
        done
        # shellcheck disable=SC2086
        set -- $debs
        if ! cmp "$1" "$2"; then
            if command -v diffoscope >/dev/null 2>&1; then
                diffoscope --no-progress --max-report-size 200000 "$1" "$2" >&2 || true
            else
                for deb in "$1" "$2"; do
                    dpkg-deb --fsys-tarfile "$deb" | tar -tv --full-time >"$deb.list"
                done
                diff "$1.list" "$2.list" >&2 || true
                echo "(install diffoscope to see what differs inside the files)" >&2
            fi
            exit 1
        fi
        echo "two clean builds in $folder/a and $folder/second-copy:" \
            "$(basename "$1"), the same $(wc -c <"$1") bytes"
        rm -rf "$folder"
        ;;
    *)
        echo "usage: check-package.sh build|lintian|reproducible|clean-builds ..." >&2
        exit 2
        ;;
esac
