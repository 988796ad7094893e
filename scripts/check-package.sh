#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian packages' tests, run by ctest from the build folder. cpack makes
# two packages: velmora-cli (the command line, the tools and their scripts)
# and velmora (the window, which depends on the first).
#
#   check-package.sh build SOURCE CPACK_CONFIG FOLDER
#       makes the packages with `cpack -G DEB` into FOLDER, as `make package`
#       does (SOURCE_DATE_EPOCH from the environment, else from the last
#       commit of SOURCE);
#   check-package.sh contents FOLDER VERSION
#       checks which files each package in FOLDER holds, and that velmora
#       depends on velmora-cli of VERSION and velmora-cli on nothing of the
#       window (no Qt library but QtCore, no QML module, no platform plugin);
#   check-package.sh lintian FOLDER VERSION [LINTIAN]
#       checks that both packages in FOLDER have version VERSION and that
#       LINTIAN reports neither error nor warning on them; exits 77 (skipped)
#       when lintian is not installed;
#   check-package.sh reproducible SOURCE CPACK_CONFIG FOLDER
#       makes the packages a second time into FOLDER/again and fails unless
#       each has the same bytes as the one in FOLDER;
#   check-package.sh clean-builds SOURCE FOLDER
#       copies the files of the checkout SOURCE twice, to two folders of
#       different path lengths in FOLDER, configures, builds (without the
#       tests) and packages each in a build folder of its own, and fails
#       unless each package has the same bytes from both; diffoscope, where
#       it is installed, then says what differs. Exits 77 (skipped) unless
#       VELMORA_CLEAN_BUILDS is 1, and when SOURCE is no git checkout.
set -eu

packages="velmora-cli velmora"

# package_in FOLDER NAME: the one .deb of package NAME in FOLDER.
package_in() {
    set -- "$1"/"$2"_*.deb
    if [ "$#" -ne 1 ] || [ ! -f "$1" ]; then
        echo "expected one .deb of the package, found: $*" >&2
        exit 1
    fi
    echo "$1"
}

# The files (not folders) of package $1, one path a line, sorted.
files_of() {
    dpkg-deb --fsys-tarfile "$1" | tar -t | grep -v '/$' | sort
}

# expect_files DEB: fails unless DEB holds exactly the files on standard input.
expect_files() {
    sort >"$work/expected"
    files_of "$1" >"$work/found"
    if ! cmp -s "$work/expected" "$work/found"; then
        echo "$(basename "$1"): files not as expected (- expected, + found):" >&2
        diff -u "$work/expected" "$work/found" | tail -n +3 >&2
        exit 1
    fi
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
    set -- "$3"/*.deb
    if [ "$#" -ne 2 ]; then
        echo "expected two .deb files, found: $*" >&2
        exit 1
    fi
    for package in $packages; do
        package_in "$(dirname "$1")" "$package" >/dev/null
    done
}

mode=$1
shift
case $mode in
    build)
        make_package "$1" "$2" "$3"
        ls "$3"/*.deb
        ;;
    contents)
        work=$(mktemp -d)
        trap 'rm -rf "$work"' EXIT
        cli=$(package_in "$1" velmora-cli)
        window=$(package_in "$1" velmora)
        expect_files "$cli" <<END
./usr/bin/velmora
./usr/libexec/velmora/Brevin
./usr/libexec/velmora/Moskel
./usr/libexec/velmora/Tallix
./usr/libexec/velmora/compress-scan
./usr/libexec/velmora/velmora-encode
./usr/libexec/velmora/velmora-encode-vips
./usr/libexec/velmora/velmora-limit
./usr/share/bash-completion/completions/velmora
./usr/share/doc/velmora-cli/changelog.gz
./usr/share/doc/velmora-cli/copyright
./usr/share/man/man1/velmora.1.gz
./usr/share/velmora/backend_tools.sh
./usr/share/velmora/compress_backend.sh
./usr/share/velmora/sorter_backend.sh
./usr/share/zsh/vendor-completions/_velmora
END
        expect_files "$window" <<END
./usr/libexec/velmora/velmora-window
./usr/share/applications/io.github.velmora.Velmora.desktop
./usr/share/doc/velmora/changelog.gz
./usr/share/doc/velmora/copyright
./usr/share/icons/hicolor/256x256/apps/io.github.velmora.Velmora.png
./usr/share/icons/hicolor/scalable/apps/io.github.velmora.Velmora.svg
./usr/share/icons/hicolor/symbolic/apps/io.github.velmora.Velmora-symbolic.svg
./usr/share/lintian/overrides/velmora
./usr/share/metainfo/io.github.velmora.Velmora.metainfo.xml
END
        for field in Package Version Section Depends; do
            echo "velmora-cli $field: $(dpkg-deb -f "$cli" "$field")"
            echo "velmora $field: $(dpkg-deb -f "$window" "$field")"
        done
        # One dependency a line, without its version.
        depends_of() {
            dpkg-deb -f "$1" Depends | tr ',' '\n' | sed 's/^ *//; s/ *(.*//; s/ *|.*//'
        }
        if [ "$(dpkg-deb -f "$window" Depends | tr ',' '\n' | sed 's/^ *//' |
                grep '^velmora-cli ')" != "velmora-cli (= $2)" ]; then
            echo "velmora does not depend on velmora-cli (= $2)" >&2
            exit 1
        fi
        for needed in qt6-qpa-plugins qml6-module-qtquick libqt6gui6 libqt6qml6; do
            if ! depends_of "$window" | grep -qx "$needed"; then
                echo "velmora does not depend on $needed" >&2
                exit 1
            fi
        done
        for needed in libqt6core6 libvips42 libjpeg62-turbo; do
            if ! depends_of "$cli" | grep -qx "$needed"; then
                echo "velmora-cli does not depend on $needed" >&2
                exit 1
            fi
        done
        window_only=$(depends_of "$cli" |
            grep -E '^(libqt6(gui|qml|quick|widgets|opengl|dbus)|qml6-|qt6-|libgl1|libglx|libegl|libcanberra|libx11|libxcb|velmora$)' ||
            true)
        if [ -n "$window_only" ]; then
            echo "velmora-cli depends on packages of the window:" $window_only >&2
            exit 1
        fi
        ;;
    lintian)
        lintian=${3:-}
        if [ -z "$lintian" ] || [ ! -x "$lintian" ]; then
            echo "SKIPPED: lintian is not installed (apt-get install lintian)"
            exit 77
        fi
        status=0
        for package in $packages; do
            deb=$(package_in "$1" "$package")
            version=$(dpkg-deb -f "$deb" Version)
            if [ "$version" != "$2" ]; then
                echo "$package is version '$version', the project '$2'" >&2
                exit 1
            fi
            report=$("$lintian" --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1) ||
                status=1
            # Lintian warns when run as root; that is about the run, not the package.
            printf '%s\n' "$report" | grep -v 'running with root privileges is not recommended' ||
                true
        done
        exit $status
        ;;
    reproducible)
        make_package "$1" "$2" "$3/again"
        for package in $packages; do
            first=$(package_in "$3" "$package")
            second=$(package_in "$3/again" "$package")
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
        done
        ;;
    clean-builds)
        source=$1
        folder=$2
        if [ "${VELMORA_CLEAN_BUILDS:-}" != 1 ]; then
            echo "SKIPPED: two clean builds of the whole tree take about 25 minutes on" \
                "2 cores; VELMORA_CLEAN_BUILDS=1 runs them"
            exit 77
        fi
        if ! git -C "$source" rev-parse --show-toplevel >/dev/null 2>&1; then
            echo "SKIPPED: $source is no git checkout, whose files could be copied"
            exit 77
        fi
        if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
            SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct)
        fi
        export SOURCE_DATE_EPOCH
        rm -rf "$folder"
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
        done
        for package in $packages; do
            first=$(package_in "$folder/a/build" "$package")
            second=$(package_in "$folder/second-copy/build" "$package")
            if ! cmp "$first" "$second"; then
                if command -v diffoscope >/dev/null 2>&1; then
                    diffoscope --no-progress --max-report-size 200000 "$first" "$second" >&2 ||
                        true
                else
                    for deb in "$first" "$second"; do
                        dpkg-deb --fsys-tarfile "$deb" | tar -tv --full-time >"$deb.list"
                    done
                    diff "$first.list" "$second.list" >&2 || true
                    echo "(install diffoscope to see what differs inside the files)" >&2
                fi
                exit 1
            fi
            echo "two clean builds in $folder/a and $folder/second-copy:" \
                "$(basename "$first"), the same $(wc -c <"$first") bytes"
        done
        rm -rf "$folder"
        ;;
    *)
        echo "usage: check-package.sh build|contents|lintian|reproducible|clean-builds ..." >&2
        exit 2
        ;;
esac
