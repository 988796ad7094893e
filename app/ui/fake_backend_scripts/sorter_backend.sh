#!/bin/bash
# Stand-in for the backend scripts in the window tests. The test decides what
# a scan finds and what a run reports through files in the folder named by
# VELMORA_FAKE_BACKEND_CONTROL:
#   summary.txt  copied into the job folder by "scan"
#   status.txt   mirrored into the job folder while a run lasts
#   exit         ends the run with the exit status it holds
# A run also ends when the control folder is gone.
control=${VELMORA_FAKE_BACKEND_CONTROL:?}
verb=$1
job=$3

mirror_status() {
    if [[ -f $control/status.txt ]]; then
        cp "$control/status.txt" "$job/status.txt.part" && mv "$job/status.txt.part" "$job/status.txt"
    fi
}

if [[ $verb == scan ]]; then
    cp "$control/summary.txt" "$job/summary.txt" || exit 1
    exit 0
fi

while [[ -d $control && ! -f $control/exit ]]; do
    mirror_status
    sleep 0.02
done
mirror_status
exit "$(cat "$control/exit" 2>/dev/null || echo 1)"
