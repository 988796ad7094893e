#!/bin/bash
# Stand-in for both backend scripts in velmora_cli_test, steered by the
# environment that velmora passes on to its backends:
#   FAKE_PID_FILE     where a call that waits writes "VERB PID" once it can
#                     be ended by a signal
#   FAKE_SUMMARY      the summary line "scan" writes (none when unset)
#   FAKE_SCAN_SLEEP   seconds "scan" waits before it writes the summary
#   FAKE_UNREADABLE   how many folders "scan" lists in unreadable.txt
#   FAKE_STATUS       the status line a run writes
#   FAKE_FAILURES     how many lines a run writes into failures.txt
#   FAKE_RUN_WAIT     when set, a run waits until a signal ends it
#   FAKE_RUN_EXIT     the exit status of a run (0 when unset)
verb=$1
job=$3

# wait_for SECONDS: sleeps; SIGTERM or SIGINT ends the sleep and the script.
wait_for() {
    sleep "$1" &
    sleeper=$!
    trap 'kill $sleeper; exit 143' TERM INT
    [[ -n ${FAKE_PID_FILE-} ]] && echo "$verb $$" > "$FAKE_PID_FILE"
    wait
}

if [[ $verb == scan ]]; then
    wait_for "${FAKE_SCAN_SLEEP:-0}"
    [[ -n ${FAKE_SUMMARY-} ]] && echo "$FAKE_SUMMARY" > "$job/summary.txt"
    for ((i = 1; i <= ${FAKE_UNREADABLE:-0}; i++)); do
        echo "$2/locked $i" >> "$job/unreadable.txt"
    done
    exit 0
fi

echo "${FAKE_STATUS-}" > "$job/status.txt"
for ((i = 1; i <= ${FAKE_FAILURES:-0}; i++)); do
    printf '%s/photo %d.jpg\tnot a photo\n' "$2" "$i" >> "$job/failures.txt"
done
[[ -n ${FAKE_RUN_WAIT-} ]] && wait_for 600
exit "${FAKE_RUN_EXIT:-0}"
