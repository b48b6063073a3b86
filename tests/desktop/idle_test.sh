#!/usr/bin/env bash
# An editor with a level open and nothing to do must use no CPU worth measuring: an idle loop
# that repaints or re-titles starves the window manager on a shared desktop.
source "$(dirname "$0")/lib.sh"

IDLE_SECONDS=5
MAX_PERCENT_OF_A_CORE=2
MAX_TITLE_WRITES=4

# cpu_ticks PID: user plus system time in clock ticks; the fields after the command name,
# which may hold spaces, start with the state (field 3), so utime and stime are 12 and 13.
cpu_ticks() {
    local stat
    stat=$(<"/proc/$1/stat")
    stat=${stat##*) }
    awk '{print $12 + $13}' <<<"$stat"
}

start_desktop
make_level a.lvl
start_editor_on a.lvl

step "measuring CPU time over $IDLE_SECONDS idle seconds"
ticks_before=$(cpu_ticks "$KRAV_PID")
start_ms=$(now_ms)
sleep "$IDLE_SECONDS"
ticks_after=$(cpu_ticks "$KRAV_PID")
elapsed_ms=$(($(now_ms) - start_ms))
used_ms=$(((ticks_after - ticks_before) * 1000 / $(getconf CLK_TCK)))
percent_x10=$((used_ms * 1000 / elapsed_ms))
echo "cpu: ${used_ms} ms in ${elapsed_ms} ms = $((percent_x10 / 10)).$((percent_x10 % 10))% of a core"

step "counting title writes over 2 idle seconds"
# xprop -spy prints both properties once, then once more for every write.
spy_lines=$(timeout 2 xprop -spy -id "$MAIN_WINDOW" WM_NAME _NET_WM_NAME | wc -l || true)
title_writes=$((spy_lines > 2 ? spy_lines - 2 : 0))
echo "title writes: $title_writes"

screenshot idle
failed=0
if [ "$percent_x10" -gt $((MAX_PERCENT_OF_A_CORE * 10)) ]; then
    echo "FAIL: idle editor used more than $MAX_PERCENT_OF_A_CORE% of a core" >&2
    failed=1
fi
if [ "$title_writes" -gt "$MAX_TITLE_WRITES" ]; then
    echo "FAIL: the main window's title was written $title_writes times in 2 idle seconds" >&2
    failed=1
fi
[ "$failed" -eq 0 ] || exit 1
pass
