#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# How much an install of Velmora's packages adds to a fresh Debian 12
# (bookworm) system, measured in a chroot; not run by the tests.
#
#   measure-install-size.sh [--no-install-recommends] BASE DEB...
#
# BASE is a folder made once with
#   debootstrap --variant=minbase bookworm BASE http://deb.debian.org/debian
# and left as it is: each run works in a copy. The DEBs are installed
# together with `apt-get install`, as a user would install them (with the
# packages they recommend, unless --no-install-recommends is given first),
# and the script prints the packages apt added,
# its "After this operation" line and what `du` counts on the system before
# and after. Needs root (chroot, mount).
set -eu

apt_options=
if [ "${1:-}" = --no-install-recommends ]; then
    apt_options=$1
    shift
fi
if [ "$#" -lt 2 ]; then
    echo "usage: measure-install-size.sh [--no-install-recommends] BASE DEB..." >&2
    exit 2
fi
base=$1
shift
if [ ! -x "$base/usr/bin/apt-get" ]; then
    echo "measure-install-size.sh: $base is not a debootstrap'd system" >&2
    exit 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-chroot.XXXXXX")
root=$work/root
cleanup() {
    for mounted in "$root/proc" "$root/dev"; do
        mountpoint -q "$mounted" && umount "$mounted"
    done
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
cp -a "$base" "$root"
mount --bind /dev "$root/dev"
mount -t proc proc "$root/proc"
cp /etc/resolv.conf "$root/etc/resolv.conf"

mkdir -p "$root/debs"
debs=
for deb in "$@"; do
    cp "$deb" "$root/debs/"
    debs="$debs /debs/$(basename "$deb")"
done

in_root() {
    chroot "$root" env DEBIAN_FRONTEND=noninteractive LC_ALL=C "$@"
}
in_root apt-get update -qq
in_root apt-get clean
before_packages=$(in_root dpkg-query -W -f '${Status}\n' | grep -c ' installed$')
before_mb=$(du -sxm "$root" | cut -f1)

# shellcheck disable=SC2086 # one word a package
in_root apt-get install -y $apt_options $debs >"$work/apt.log" 2>&1 || {
    cat "$work/apt.log" >&2
    exit 1
}
in_root apt-get clean
after_packages=$(in_root dpkg-query -W -f '${Status}\n' | grep -c ' installed$')
after_mb=$(du -sxm "$root" | cut -f1)

echo "installed: $* ${apt_options:-(with recommends)}"
grep -E '^[0-9]+ upgraded, [0-9]+ newly installed' "$work/apt.log"
grep -E '^After this operation' "$work/apt.log"
echo "packages: $before_packages before, $after_packages after ($((after_packages - before_packages)) added)"
echo "du: $before_mb MB before, $after_mb MB after ($((after_mb - before_mb)) MB added)"
