#!/usr/bin/env bash
# The Radar's context menu switches it to the whole map: a flag and a wall near the map's
# corner show in the shrunk picture, a click at its bottom-right moves the view to the map's
# far corner and a drag brings it to the middle; the choice is kept in krav.ini and comes
# back with the next start.
source "$(dirname "$0")/lib.sh"

# pixel_at SHOT X Y: the colour of a screen pixel as "R,G,B".
pixel_at() { convert "$1" -format '%[fx:int(255*p{'"$2,$3"'}.r)],%[fx:int(255*p{'"$2,$3"'}.g)],%[fx:int(255*p{'"$2,$3"'}.b)]' info:; }
shot() { import -display "$DISPLAY" -window root "$OUT_DIR/$1.png" && echo "$OUT_DIR/$1.png"; }
YELLOW=255,255,0
BLUE=0,0,255
RED=255,0,0
BLACK=0,0,0

# radar_pixel SHOT X Y: a pixel of the Radar's client area.
radar_pixel() { pixel_at "$1" $((rx + $2)) $((ry + $3)); }
expect_radar() {
    local shot=$1 x=$2 y=$3 want=$4 what=$5 got
    got=$(radar_pixel "$shot" "$x" "$y")
    [ "$got" = "$want" ] || record_failure "$what: Radar pixel $x,$y is $got, not $want"
}
# edge_pixels SHOT: how many white pixels (the map's edge) a strip along the view's right side
# holds, below Tile Info and above the Radar.
edge_pixels() {
    convert "$1" -crop "40x250+$((VIEW_X + VIEW_W - 40))+$((VIEW_Y + 200))" +repage \
        -fill black +opaque white -format '%[fx:int(mean*w*h+0.5)]' info:
}

start_desktop
# A flag at cell 20,20 and a blue wall along row 30 from column 10 to 60: on a 125-pixel radar
# each pixel covers about 8 x 8 cells, so they fall in pixel 2,2 and row 3.
make_level a.lvl "tile fore 169" "down left 328 328" "up left 328 328" \
    "tile fore 161" "down left 168 488" "move 968 488 left" "up left 968 488"
start_editor_on a.lvl
find_view_client a.lvl
radar=$(visible_window "$KRAV_PID" '^Radar')
wait_settled "$radar"
read -r rx ry rw rh < <(client_geometry "$radar")
step "Radar client ${rw}x${rh} at $rx,$ry"
[ "$rw" -eq 125 ] && [ "$rh" -eq 125 ] || record_failure "the Radar's client is ${rw}x$rh, not 125x125"

# The Radar paints once the level is shown: wait for the flag rather than guess how long.
radar_shows_flag() { [ "$(radar_pixel "$(shot actual-size)" 20 20)" = "$YELLOW" ]; }
wait_until 10 "the Radar showing the flag" radar_shows_flag
before=$(shot actual-size)
expect_radar "$before" 2 2 "$BLACK" "one pixel per cell: cell 2,2 is empty"
expect_radar "$before" 20 20 "$YELLOW" "one pixel per cell: the flag at cell 20,20"

step "right click on the Radar, Whole Map"
xdo mousemove --sync $((rx + 60)) $((ry + 60)) click 3
# The menu holds the pointer while it is open: choose once it has had time to show, and go
# on only once the choice is made.
sleep 1
shot context-menu >/dev/null
xdo key w
whole_map_kept() { grep -A1 '^\[Radar\]' "$XDG_CONFIG_HOME/krav.ini" | grep -qx 'WholeMap=true'; }
wait_until 5 "the whole map being chosen" whole_map_kept
sleep 0.5
whole=$(shot whole-map)
expect_radar "$whole" 2 2 "$YELLOW" "whole map: the flag"
expect_radar "$whole" 5 3 "$BLUE" "whole map: the wall"
expect_radar "$whole" 0 0 "$RED" "whole map: the view's outline at the map's corner"
expect_radar "$whole" 60 60 "$BLACK" "whole map: the empty middle"
grep -A1 '^\[Radar\]' "$XDG_CONFIG_HOME/krav.ini" | grep -qx 'WholeMap=true' ||
    record_failure "krav.ini does not keep the whole map: $(cat "$XDG_CONFIG_HOME/krav.ini")"
[ "$(edge_pixels "$whole")" -eq 0 ] || record_failure "the view shows the map's edge before it moved"

step "click on the Radar's bottom-right corner"
xdo mousemove --sync $((rx + 122)) $((ry + 122)) click 1
sleep 0.5
corner=$(shot far-corner)
expect_radar "$corner" 124 124 "$RED" "after the click: the outline at the far corner"
expect_radar "$corner" 0 0 "$BLACK" "after the click: no outline left at the map's origin"
expect_radar "$corner" 2 2 "$YELLOW" "after the click: the flag"
edge=$(edge_pixels "$corner")
step "the view's right side shows $edge white pixels of the map's edge"
[ "$edge" -ge 400 ] || record_failure "the view did not move to the map's far corner (no edge in sight)"

step "drag on the Radar from its top-left to its middle"
xdo mousemove --sync $((rx + 10)) $((ry + 10)) mousedown 1
xdo mousemove --sync $((rx + 40)) $((ry + 40))
xdo mousemove --sync $((rx + 62)) $((ry + 62)) mouseup 1
sleep 0.5
middle=$(shot dragged)
expect_radar "$middle" 124 124 "$BLACK" "after the drag: the outline left the corner"
row=$(convert "$middle" -crop "40x1+$((rx + 42))+$((ry + 62))" +repage txt:- | grep -c '#FF0000' || true)
[ "$row" -ge 2 ] || record_failure "after the drag: no outline around the Radar's middle (row 62 has $row red pixels)"
[ "$(edge_pixels "$middle")" -eq 0 ] || record_failure "after the drag the view still shows the map's edge"

step "closed and started again: the Radar shows the whole map at once"
xdo windowactivate --sync "$MAIN_WINDOW"
xdo key --clearmodifiers alt+F4
wait_exit "$KRAV_PID" $((10 * WAIT_SCALE))
start_editor_on a.lvl
radar=$(visible_window "$KRAV_PID" '^Radar')
wait_settled "$radar"
read -r rx ry rw rh < <(client_geometry "$radar")
sleep 0.5
again=$(shot started-again)
expect_radar "$again" 2 2 "$YELLOW" "after a new start: the flag in the whole map"
finish
