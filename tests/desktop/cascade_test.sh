#!/usr/bin/env bash
# Window > Cascade with three levels open: each window is about two thirds of the area wide and
# high, each a title bar further right and down than the one before, the last one on top. The
# level windows are drawn by Qt inside the main window, so they are found on the screen: the
# map view of the window on top, then that of the first window after a click on its title.
source "$(dirname "$0")/lib.sh"

start_desktop
for name in a b c; do make_level "$name.lvl"; done
start_editor_on a.lvl
find_view_client a.lvl
read -r max_x max_y max_w max_h <<<"$VIEW_X $VIEW_Y $VIEW_W $VIEW_H"
step "maximised view: ${max_w}x$max_h at $max_x,$max_y"

step "b.lvl and c.lvl handed over by a second krav"
first_pid=$KRAV_PID
start_krav b.lvl c.lvl
wait_exit "$KRAV_PID" $((10 * WAIT_SCALE))
KRAV_PID=$first_pid
wait_until 10 "c.lvl being shown" title_has "$MAIN_WINDOW" c.lvl

step "Window > Cascade"
xdo windowactivate --sync "$MAIN_WINDOW"
xdo key --clearmodifiers alt+w
sleep 0.3
xdo key Return
sleep 1
screenshot cascade
find_view_client c.lvl
read -r top_x top_y top_w top_h <<<"$VIEW_X $VIEW_Y $VIEW_W $VIEW_H"
step "view on top: ${top_w}x$top_h at $top_x,$top_y"

# within LOW HIGH A B: whether A / B lies between LOW and HIGH (in hundredths).
within() { [ $(($3 * 100)) -ge $(($1 * $4)) ] && [ $(($3 * 100)) -le $(($2 * $4)) ]; }
# The view is its window less the frame, the title and a scroll bar: two thirds of the
# maximised view's size, give or take those.
within 55 72 "$top_w" "$max_w" || record_failure "the cascaded window's view is $top_w wide of $max_w"
within 55 72 "$top_h" "$max_h" || record_failure "the cascaded window's view is $top_h high of $max_h"

step "a click on the first window's title bar brings a.lvl forward"
xdo mousemove --sync $((max_x + max_w / 4)) $((max_y + 4)) click 1
sleep 0.5
screenshot first-forward
find_view_client a.lvl
read -r first_x first_y first_w first_h <<<"$VIEW_X $VIEW_Y $VIEW_W $VIEW_H"
step "first view: ${first_w}x$first_h at $first_x,$first_y"
[ "$first_w" -eq "$top_w" ] && [ "$first_h" -eq "$top_h" ] ||
    record_failure "the cascaded windows differ in size: ${first_w}x$first_h and ${top_w}x$top_h"
# The first window's contents start a title bar below the area's top: the step of the cascade.
title_bar=$((first_y - max_y))
step "title bar $title_bar px; the third window $((top_x - first_x)),$((top_y - first_y)) from the first"
[ "$title_bar" -ge 12 ] && [ "$title_bar" -le 60 ] || record_failure "title bar of $title_bar px?"
[ $((top_x - first_x)) -eq $((2 * title_bar)) ] && [ $((top_y - first_y)) -eq $((2 * title_bar)) ] ||
    record_failure "the windows are not a title bar apart"
finish
