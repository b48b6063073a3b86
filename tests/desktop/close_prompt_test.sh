#!/usr/bin/env bash
# Closing the main window through the window manager with a modified level asks "Save changes
# to a.lvl?" in a box titled KRAV, answered from the keyboard; the editor then ends and the
# file holds the change only when the answer was Yes.
#
#   close_prompt_test.sh yes|no
source "$(dirname "$0")/lib.sh"

answer=${1:?yes or no}
case $answer in
yes) key=Return ;; # Yes is the default button
no) key=n ;;
*) fail "answer yes or no, not $answer" ;;
esac

start_desktop
make_level a.lvl
cp "$SESSION_DIR/a.lvl" "$SESSION_DIR/original.lvl"
start_editor_on a.lvl
find_view_client a.lvl

read -r x y < <(cell_point 4 4)
step "drawing cell 4,4, then Alt+F4 on the main window"
xdo mousemove --sync "$x" "$y" click 1
xdo windowactivate --sync "$MAIN_WINDOW"
xdo key --clearmodifiers alt+F4

box=$(wait_window "$KRAV_PID" '^KRAV' "the save question box")
title_is "$box" KRAV || record_failure "the save question box is titled \"$(window_title "$box")\", expected \"KRAV\""
wait_until 5 "the save question box getting the focus" is_active "$box"
screenshot question
step "answering $answer with the key $key"
xdo key --clearmodifiers "$key"
wait_exit "$KRAV_PID" $((10 * WAIT_SCALE))
[ "$EXIT_STATUS" -eq 0 ] || record_failure "krav exited with status $EXIT_STATUS"

if [ "$answer" = yes ]; then
    printf 'expect-cell 4 4 0\n' >"$SESSION_DIR/expect.play"
    "$KRAV_LVL" play "$SESSION_DIR/expect.play" "$SESSION_DIR/a.lvl" "$SESSION_DIR/check.lvl" ||
        record_failure "a.lvl was not saved with the drawn cell"
else
    cmp -s "$SESSION_DIR/original.lvl" "$SESSION_DIR/a.lvl" || record_failure "a.lvl changed though the answer was No"
fi
finish
