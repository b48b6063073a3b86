#!/usr/bin/env bash
# Opening a level from the desktop while the editor runs (a second `krav FILE`) hands the file
# to the running editor, which shows it and comes to the front; the second process ends at once.
source "$(dirname "$0")/lib.sh"

HAND_OVER_MS=$((1000 * WAIT_SCALE))

# stacking_index ID: the window's place in openbox's stacking order, bottom first.
stacking_index() {
    local place=0 window
    for window in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //' | tr , ' '); do
        place=$((place + 1))
        [ $((window)) -eq "$1" ] && echo "$place"
    done
    return 0
}

start_desktop
make_level a.lvl
make_level b.lvl
# The other program is up first, so that an editor that keeps the window manager busy cannot
# keep it from appearing.
xmessage -title other -center 'another program' &
OTHER_PIDS+=($!)
# xmessage does not tell its process id; its title is enough on this private display.
wait_until 10 "the other program's window" xdotool search --onlyvisible --name '^other$'
other=$(xdotool search --onlyvisible --name '^other$' | head -n 1)
start_editor_on a.lvl
first_pid=$KRAV_PID

step "putting the other program in front"
xdo windowactivate "$other"
deadline=$(($(now_ms) + 5000 * WAIT_SCALE))
until is_active "$other" || [ "$(now_ms)" -ge "$deadline" ]; do sleep 0.1; done
is_active "$other" || record_failure "the window manager did not give the other program the focus"

step "starting a second krav on b.lvl"
started=$(now_ms)
start_krav b.lvl
second_pid=$KRAV_PID
while kill -0 "$second_pid" 2>/dev/null && [ $(($(now_ms) - started)) -lt "$HAND_OVER_MS" ]; do sleep 0.02; done
if kill -0 "$second_pid" 2>/dev/null; then
    record_failure "the second krav still runs after $HAND_OVER_MS ms"
    stop_process "$second_pid"
else
    status=0
    wait "$second_pid" || status=$?
    echo "second krav ended after $(($(now_ms) - started)) ms with status $status"
    [ "$status" -eq 0 ] || record_failure "the second krav exited with status $status"
fi

deadline=$(($(now_ms) + 5000 * WAIT_SCALE))
until title_has "$MAIN_WINDOW" b.lvl || [ "$(now_ms)" -ge "$deadline" ]; do sleep 0.1; done
title_has "$MAIN_WINDOW" b.lvl ||
    record_failure "the first editor's title does not name b.lvl: \"$(window_title "$MAIN_WINDOW")\""
kill -0 "$first_pid" 2>/dev/null || record_failure "the first editor ended"
editors=$({ xdotool search --onlyvisible --name '^Orbalon Map Editor' || true; } | wc -l)
[ "$editors" -eq 1 ] || record_failure "$editors main windows are on the screen, expected one"
main_place=$(stacking_index "$MAIN_WINDOW")
other_place=$(stacking_index "$other")
echo "stacking: editor $main_place, other program $other_place; active window $(active_window)"
[ -n "$main_place" ] && [ "$main_place" -gt "$other_place" ] ||
    record_failure "the first editor did not come in front of the other program"
screenshot handed-over
finish
