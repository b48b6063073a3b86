#!/usr/bin/env bash
# The first level places Tile Info and Radar inside the map view, by their frames (the window
# manager's decorations included): Tile Info's top-right corner at the view's top-right,
# Radar's bottom-right corner at the view's bottom-right.
source "$(dirname "$0")/lib.sh"

TOLERANCE=3

# near A B: whether two pixel positions differ by at most TOLERANCE.
near() { [ "$1" -le $(($2 + TOLERANCE)) ] && [ "$1" -ge $(($2 - TOLERANCE)) ]; }

start_desktop
make_level a.lvl
start_editor_on a.lvl
read -r main_x main_y main_w main_h < <(client_geometry "$MAIN_WINDOW")
step "main window client area: ${main_w}x${main_h} at $main_x,$main_y"
find_view_client a.lvl
view_right=$((VIEW_X + VIEW_W))
view_bottom=$((VIEW_Y + VIEW_H))

for palette in 'Tile Info' Radar; do
    id=$(visible_window "$KRAV_PID" "^$palette")
    read -r x y w h < <(frame_geometry "$id")
    echo "$palette frame: ${w}x${h} at $x,$y (right $((x + w)), bottom $((y + h)))"
    if [ "$x" -lt "$main_x" ] || [ "$y" -lt "$main_y" ] ||
        [ $((x + w)) -gt $((main_x + main_w)) ] || [ $((y + h)) -gt $((main_y + main_h)) ]; then
        record_failure "the $palette frame is not inside the main window's client area"
    fi
    [ "$y" -ge $((VIEW_Y - TOLERANCE)) ] ||
        record_failure "the $palette frame's top $y is above the view's top $VIEW_Y (over the toolbars)"
    if [ "$palette" = 'Tile Info' ]; then
        near $((x + w)) "$view_right" && near "$y" "$VIEW_Y" ||
            record_failure "Tile Info's frame top-right is at $((x + w)),$y, not at the view's $view_right,$VIEW_Y"
    else
        near $((x + w)) "$view_right" && near $((y + h)) "$view_bottom" ||
            record_failure "Radar's frame bottom-right is at $((x + w)),$((y + h)), not at the view's $view_right,$view_bottom"
    fi
done
screenshot placed
finish
