#!/usr/bin/env bash
# The palettes come back at the next start as the user left them, as the toolbars do: a moved
# Radar and Special Objects where they were dragged, Tile Info closed stays closed; kept places
# that make no sense (off the screen, sizes no window has) never hide a palette.
source "$(dirname "$0")/lib.sh"

INI=
start_desktop
make_level a.lvl
INI=$XDG_CONFIG_HOME/krav.ini
start_editor_on a.lvl
xdo key r
for palette in Tileset 'Tile Info' Radar 'Special Objects'; do
    wait_settled "$(wait_window "$KRAV_PID" "^$palette\$" "the $palette palette")"
done

# drag_title PALETTE X Y: drags the palette by its title bar so that its frame's top-left
# corner goes to X Y.
drag_title() {
    local id x y w h
    id=$(visible_window "$KRAV_PID" "^$1\$")
    read -r x y w h < <(frame_geometry "$id")
    xdo mousemove --sync $((x + w / 2)) $((y + 8)) mousedown 1
    # The window manager takes a drag in several steps of the pointer.
    for step in 1 2 3 4 5; do
        xdo mousemove --sync $((x + w / 2 + ($2 - x) * step / 5)) $((y + 8 + ($3 - y) * step / 5))
        sleep 0.1
    done
    xdo mouseup 1
    wait_settled "$id"
}

step "dragging Radar and Special Objects, closing Tile Info with its close box"
drag_title Radar 700 300
drag_title 'Special Objects' 420 520
info=$(visible_window "$KRAV_PID" '^Tile Info$')
read -r x y w h < <(frame_geometry "$info")
xdo mousemove --sync $((x + w - 9)) $((y + 9)) click 1
wait_until 5 "Tile Info closing" test -z "$(visible_window "$KRAV_PID" '^Tile Info$')"
declare -A before
for palette in Tileset Radar 'Special Objects'; do
    before[$palette]=$(frame_geometry "$(visible_window "$KRAV_PID" "^$palette\$")")
    echo "$palette: frame ${before[$palette]}"
done
screenshot left-by-the-user

quit_editor() {
    xdo windowactivate --sync "$MAIN_WINDOW" key alt+F4
    wait_exit "$KRAV_PID" $((10 * WAIT_SCALE))
    [ "$EXIT_STATUS" -eq 0 ] || record_failure "the editor ended with $EXIT_STATUS"
}
quit_editor
step "krav.ini keeps: $(sed -n '/^\[Palettes\]/,/^\[/p' "$INI" | tr '\n' ' ')"

# restart: the editor again on a.lvl, once the palettes it shows have settled.
restart() {
    start_krav a.lvl
    MAIN_WINDOW=$(wait_window "$KRAV_PID" '^Orbalon Map Editor' "the main window")
    wait_until 20 "the main window's title naming a.lvl" title_has "$MAIN_WINDOW" a.lvl
    wait_settled "$(wait_window "$KRAV_PID" '^Tileset$' "the Tileset palette")"
    sleep 1 # the others come with it
}

step "starting again"
restart
for palette in Tileset Radar 'Special Objects'; do
    id=$(visible_window "$KRAV_PID" "^$palette\$")
    if [ -z "$id" ]; then
        record_failure "the $palette palette is not shown at the next start"
        continue
    fi
    wait_settled "$id"
    now=$(frame_geometry "$id")
    [ "$now" = "${before[$palette]}" ] ||
        record_failure "the $palette palette's frame is $now at the next start, was ${before[$palette]}"
done
[ -z "$(visible_window "$KRAV_PID" '^Tile Info$')" ] || record_failure "Tile Info, closed, is shown at the next start"
screenshot next-start
quit_editor

step "kept places that make no sense"
python3 - "$INI" <<'PY'
import re, sys
path = sys.argv[1]
text = open(path).read()
text = re.sub(r"\[Palettes\][^\[]*", "", text)
text += """
[Palettes]
Radar\\FrameTopLeft=@Point(5000 -3000)
Radar\\Client=@Size(125 125)
Radar\\Visible=true
Tileset\\FrameTopLeft=@Point(10 10)
Tileset\\Client=@Size(-5 99999)
Tileset\\Visible=true
TileInfo\\FrameTopLeft=garbage
TileInfo\\Client=@Size(72 134)
TileInfo\\Visible=maybe
SpecialObjects\\FrameTopLeft=@Point(-99999 20)
SpecialObjects\\Client=@Size(200 50)
SpecialObjects\\Visible=true
"""
open(path, "w").write(text)
PY
restart
read -r sw sh < <(xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}')
for palette in Tileset 'Tile Info' Radar 'Special Objects'; do
    id=$(wait_window "$KRAV_PID" "^$palette\$" "the $palette palette")
    wait_settled "$id"
    read -r x y w h < <(frame_geometry "$id")
    echo "$palette: frame ${w}x$h at $x,$y"
    [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$sw" ] && [ $((y + h)) -le "$sh" ] ||
        record_failure "the $palette palette's frame (${w}x$h at $x,$y) is not wholly on the ${sw}x$sh screen"
    [ "$w" -le 1100 ] && [ "$h" -le 1100 ] || record_failure "the $palette palette is ${w}x$h"
done
screenshot hostile-profile
quit_editor
finish
