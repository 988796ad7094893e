#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Stand-in for both backend scripts in the model, window and command-line
# tests. FakeBackend copies it into its control folder as sorter_backend.sh
# and compress_backend.sh, and steers it through files in that folder:
#   hold         while present, a scan waits before it ends
#   summary.txt     copied into the job folder (the third argument) by "scan"
#   unreadable.txt, unreadable_names.txt
#                   copied into the job folder by "scan"
#   scan.exit       the exit status of "scan" (0 when absent)
#   status.txt      mirrored into the job folder while a run lasts
#   failures.txt, uncompressed.txt
#                   copied into the job folder as a run ends
#   exit         ends a run with the status it holds, or by SIGKILL for "kill"
#   graceful     when present as a run starts, SIGTERM ends the run as the
#                tools end theirs: status and failures written, exit 143
# Every call writes its process id to VERB.pid, then its arguments, one per
# line, to VERB.args. A run also ends, with status 1, when the control folder
# is gone.
control=$(dirname -- "${BASH_SOURCE[0]}")
verb=$1
job=$3
echo $$ > "$control/$verb.pid"
printf '%s\n' "$@" > "$control/$verb.args"

mirror_status() {
    if [[ -f $control/status.txt ]]; then
        cp "$control/status.txt" "$job/status.txt.part" && mv "$job/status.txt.part" "$job/status.txt"
    fi
}

if [[ $verb == scan ]]; then
    while [[ -e $control/hold ]]; do sleep 0.01; done
    for name in summary.txt unreadable.txt unreadable_names.txt; do
        [[ -f $control/$name ]] && cp "$control/$name" "$job/$name"
    done
    exit "$(cat "$control/scan.exit" 2>/dev/null || echo 0)"
fi

terminated=
[[ -f $control/graceful ]] && trap 'terminated=143' TERM
while [[ -d $control && ! -f $control/exit && -z $terminated ]]; do
    mirror_status
    sleep 0.02
done
mirror_status
for name in failures.txt uncompressed.txt; do
    [[ -f $control/$name ]] && cp "$control/$name" "$job/$name"
done
[[ -n $terminated ]] && exit "$terminated"
ending=$(cat "$control/exit" 2>/dev/null || echo 1)
[[ $ending == kill ]] && kill -KILL $$
exit "$ending"
