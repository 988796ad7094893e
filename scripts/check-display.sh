#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Says what to do instead, and fails, when there is no display for the
# window: check-display.sh [PROGRAM]. `make run` asks before it builds.
set -eu
program=${1:-velmora}
if [ -n "${DISPLAY-}" ] || [ -n "${WAYLAND_DISPLAY-}" ] || [ -n "${QT_QPA_PLATFORM-}" ]; then
    exit 0
fi
cat >&2 <<END
velmora: no display for the window (DISPLAY and WAYLAND_DISPLAY are unset).
Open it in a virtual display with 'xvfb-run -a $program', or work without a window:
'$program sort SOURCE' or '$program compress SOURCE' (see '$program --help').
END
exit 1
