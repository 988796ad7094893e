#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, testing and running Velmora need,
# and those its benchmarks compare against (jpegoptim) or work on (the camera
# photographs of mate-backgrounds), and the file systems that the media tests
# mount (camera cards and USB drives). Does nothing when every package is already
# present.
set -eu

packages="
cmake g++ make pkg-config
libgtest-dev libgmock-dev
libicu-dev libvips-dev libjpeg62-turbo-dev libheif-dev libvips-tools time
qt6-base-dev qt6-base-private-dev qt6-declarative-dev libgl-dev libx11-dev
qt6-tools-dev qt6-l10n-tools
qml6-module-qtquick qml6-module-qtquick-controls
qml6-module-qtquick-layouts qml6-module-qtquick-window qml6-module-qtquick-templates
qml6-module-qtqml-workerscript qml6-module-qttest qml6-module-qtquick-shapes
libcanberra-dev sound-theme-freedesktop
xvfb xauth x11-utils zsh dbus-daemon qt6-gtk-platformtheme
desktop-file-utils appstream man-db groff-base lintian
dpkg-dev file
jpegoptim mate-backgrounds
exfat-fuse exfatprogs fusefat dosfstools ntfs-3g xfsprogs btrfs-progs e2fsprogs
fuse3 libfuse3-dev
"

missing=""
for p in $packages; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $p" ;;
    esac
done

[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
    sudo=""
else
    sudo="sudo"
fi
$sudo apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
