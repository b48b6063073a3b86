#!/usr/bin/env bash
# Starts the editor on a level and closes it, through the window manager or with File > Exit from
# the keyboard, again and again: every run must end cleanly, with status 0 and no abort or sanitizer report. KRAV_START_LOOPS sets
# how many runs (a long hunt for a rare fault sets it high).
source "$(dirname "$0")/lib.sh"

LOOPS=${KRAV_START_LOOPS:-15}
FAULT_TEXT='Aborted|AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|runtime error:|Segmentation fault|terminate called|ASSERT'

start_desktop
make_level a.lvl
visible_windows() { { xdotool search --all --onlyvisible --pid "$KRAV_PID" --name '' 2>/dev/null || true; } | wc -l; }
more_windows_than() { [ "$(visible_windows)" -gt "$1" ]; }

for run in $(seq "$LOOPS"); do
    start_editor_on a.lvl
    xdo windowactivate --sync "$MAIN_WINDOW"
    if [ $((run % 2)) -eq 0 ]; then
        # File > Exit from the keyboard: the menu's letter, not the "next tile" key X.
        before=$(visible_windows)
        xdo key --clearmodifiers alt+f
        wait_until 5 "the File menu opening" more_windows_than "$before"
        xdo key --clearmodifiers x
    else
        xdo key --clearmodifiers alt+F4
    fi
    wait_exit "$KRAV_PID" $((10 * WAIT_SCALE))
    if [ "$EXIT_STATUS" -ne 0 ] || grep -qE "$FAULT_TEXT" "$KRAV_ERR"; then
        echo "run $run: exit status $EXIT_STATUS, stderr in $KRAV_ERR:"
        head -n 40 "$KRAV_ERR"
        fail "run $run of $LOOPS did not end cleanly"
    fi
    echo "run $run: ok"
done
pass
