#!/usr/bin/env bash
# A designer's round with tile sets: chooses a tile in the Tileset palette and paints, picks a
# tile off the map with the Dropper, steps to the next tile with its key and paints again,
# stamps an object chosen in the Special Objects palette, scrolls the shrunk Tileset palette
# with its scroll bar, imports a tile set BMP through File > Import Tileset, sees the palette
# and the map take it, saves: the level keeps its cells and embeds the BMP; opened again, the
# editor shows it.
source "$(dirname "$0")/lib.sh"

CHOSEN_TILE=5
# pixel_at SHOT X Y: the colour of a screen pixel as "R,G,B".
pixel_at() { convert "$1" -format '%[fx:int(255*p{'"$2,$3"'}.r)],%[fx:int(255*p{'"$2,$3"'}.g)],%[fx:int(255*p{'"$2,$3"'}.b)]' info:; }
shot() { import -display "$DISPLAY" -window root "$OUT_DIR/$1.png" && echo "$OUT_DIR/$1.png"; }

start_desktop
make_level a.lvl
# The tile set to import: the built-in one with every colour inverted.
"$KRAV_LVL" tileset "$SESSION_DIR/a.lvl" "$SESSION_DIR/builtin.bmp" || fail "krav-lvl tileset failed"
python3 - "$SESSION_DIR/builtin.bmp" "$SESSION_DIR/inverted.bmp" <<'PY'
import sys
data = bytearray(open(sys.argv[1], 'rb').read())
for i in range(54, 1078):
    if (i - 54) % 4 != 3:
        data[i] = 255 - data[i]
open(sys.argv[2], 'wb').write(data)
PY
file_id() { stat -c '%i %Y %s' "$SESSION_DIR/a.lvl"; }
before=$(file_id)
start_editor_on a.lvl
find_view_client a.lvl

palette=$(visible_window "$KRAV_PID" '^Tileset')
read -r px py pw ph < <(client_geometry "$palette")
OTHER_TILE=9
# palette_tile TILE: a left click on a tile of the first row of the Tileset palette.
palette_tile() { xdo mousemove --sync $((px + $1 * 16 + 8)) $((py + 8)) click 1; }
# paint_cell COL ROW: a left click on a cell of the view.
paint_cell() {
    local x y
    read -r x y < <(cell_point "$1" "$2")
    xdo mousemove --sync "$x" "$y" click 1
}
step "Tileset palette at $px,$py (${pw}x$ph): tile $OTHER_TILE on cell 6,2, tile $CHOSEN_TILE on 3,2"
palette_tile "$OTHER_TILE"
paint_cell 6 2
palette_tile "$CHOSEN_TILE"
paint_cell 3 2
step "Tools > Dropper (the menu left of Window), then a click on cell 6,2 picks tile $OTHER_TILE"
xdo key --clearmodifiers alt+w
sleep 0.3
xdo key Left Down Down Down
shot tools-menu >/dev/null
xdo key Return
paint_cell 6 2
step "next tile key, Pencil key, then a click on cell 4,2"
xdo key --clearmodifiers period
xdo key --clearmodifiers p
paint_cell 4 2
step "Rubber Stamp key shows the Special Objects palette: the 2 x 2 object, stamped on cell 10,5"
xdo key --clearmodifiers r
objects=$(wait_window "$KRAV_PID" '^Special Objects' "the Special Objects palette")
wait_settled "$objects"
read -r ox oy _ _ < <(client_geometry "$objects")
xdo mousemove --sync $((ox + 2 * 50 + 25)) $((oy + 25)) click 1
paint_cell 10 5
# Away from the painted cells, so that the pointer hides nothing measured.
xdo mousemove --sync $((VIEW_X + 200)) $((VIEW_Y + 200))
sleep 0.5
before_shot=$(shot before-import)
read -r cx cy < <(cell_point 3 2)
map_before=$(pixel_at "$before_shot" "$cx" "$cy")
palette_before=$(pixel_at "$before_shot" $((px + CHOSEN_TILE * 16 + 4)) $((py + 4)))

step "File > Import Tileset, a 4-bit BMP: the dialog says why beside the files, OK keeps it open"
# The built-in set's BMP claiming 4 bits per pixel.
python3 - "$SESSION_DIR/builtin.bmp" "$SESSION_DIR/four.bmp" <<'PY'
import sys
data = bytearray(open(sys.argv[1], 'rb').read())
data[28] = 4
open(sys.argv[2], 'wb').write(data)
PY
# note_ink SHOT: dark pixels (text) in the preview column under the 304 x 160 picture.
note_ink() {
    convert "$1" -crop "330x$((dh - 200))+$((dx + dw - 330))+$((dy + 200))" +repage \
        -colorspace Gray -threshold 40% -format '%[fx:int(w*h*(1-mean)+0.5)]' info:
}
xdo key --clearmodifiers alt+f
sleep 0.3
for _ in 1 2 3 4 5; do xdo key Down; done
xdo key Return
dialog=$(wait_window "$KRAV_PID" '^Import Tile Set' "the Import Tile Set dialog")
wait_settled "$dialog"
read -r dx dy dw dh < <(client_geometry "$dialog")
no_note=$(note_ink "$(shot import-nothing-chosen)")
xdo type --delay 20 "four.bmp"
sleep 1
refused_note=$(note_ink "$(shot import-refused-bmp)")
xdo key Return
sleep 1
shot import-refused-ok >/dev/null
xwininfo -id "$dialog" | grep -q 'IsViewable' || record_failure "OK on a 4-bit BMP closed the dialog"
step "dark pixels under the preview: $no_note with nothing chosen, $refused_note for four.bmp"
[ "$refused_note" -gt $((no_note + 200)) ] || record_failure "the dialog shows no reason for the 4-bit BMP"
dialog_closed() { ! xwininfo -id "$dialog" 2>/dev/null | grep -q 'IsViewable'; }
# The first Escape may only close the name field's completion list.
for _ in 1 2 3; do
    dialog_closed && break
    xdo key Escape
    sleep 0.5
done
dialog_closed || fail "Escape did not close the Import Tile Set dialog"
sleep 0.5
[ "$(pixel_at "$(shot refused-closed)" "$cx" "$cy")" = "$map_before" ] ||
    record_failure "the refused BMP changed the map's tile set"

step "File > Import Tileset, inverted.bmp"
xdo key --clearmodifiers alt+f
sleep 0.3
for _ in 1 2 3 4 5; do xdo key Down; done
xdo key Return
dialog=$(wait_window "$KRAV_PID" '^Import Tile Set' "the Import Tile Set dialog")
wait_settled "$dialog"
xdo type --delay 20 "inverted.bmp"
sleep 1
shot import-dialog >/dev/null
xdo key Return
dialog_gone() { ! xwininfo -id "$dialog" 2>/dev/null | grep -q 'IsViewable'; }
wait_until 10 "the dialog closing" dialog_gone
sleep 0.5
after_shot=$(shot after-import)
map_after=$(pixel_at "$after_shot" "$cx" "$cy")
palette_after=$(pixel_at "$after_shot" $((px + CHOSEN_TILE * 16 + 4)) $((py + 4)))
step "map cell $map_before -> $map_after, palette $palette_before -> $palette_after"
[ "$map_before" != "$map_after" ] || record_failure "the map still shows the old tile set"
[ "$palette_before" != "$palette_after" ] || record_failure "the palette still shows the old tile set"

xdo key --clearmodifiers ctrl+s
saved() { [ "$(file_id)" != "$before" ]; }
wait_until 10 "a.lvl being saved" saved
info=$("$KRAV_LVL" info "$SESSION_DIR/a.lvl")
grep -qx 'tileset: embedded' <<<"$info" || record_failure "the saved level has no tile set of its own: $info"
grep -qx 'objects: 1' <<<"$info" || record_failure "the saved level should hold the stamped object: $info"
"$KRAV_LVL" tileset "$SESSION_DIR/a.lvl" "$SESSION_DIR/saved.bmp"
cmp -s "$SESSION_DIR/saved.bmp" "$SESSION_DIR/inverted.bmp" ||
    record_failure "the embedded tile set differs from the imported BMP"
# The Dropper picked tile OTHER_TILE, so the next tile key chose the one after it.
printf '%s\n' "expect-cell 3 2 $CHOSEN_TILE" "expect-cell 6 2 $OTHER_TILE" \
    "expect-cell 4 2 $((OTHER_TILE + 1))" >"$SESSION_DIR/expect.play"
"$KRAV_LVL" play "$SESSION_DIR/expect.play" "$SESSION_DIR/a.lvl" "$SESSION_DIR/expect-out.lvl" >/dev/null ||
    record_failure "the painted cells are not tiles $CHOSEN_TILE, $OTHER_TILE and $((OTHER_TILE + 1))"

step "opened again"
stop_process "$KRAV_PID" 2>/dev/null || true
start_editor_on a.lvl
find_view_client a.lvl
xdo mousemove --sync $((VIEW_X + 240)) $((VIEW_Y + 240))
sleep 0.5
reopened=$(shot reopened)
read -r cx cy < <(cell_point 3 2)
[ "$(pixel_at "$reopened" "$cx" "$cy")" = "$map_after" ] ||
    record_failure "opened again, the map does not show the imported tile set"

# file_dialog ITEM TITLE NAME: File menu item ITEM (Downs from the first), then NAME typed into
# the dialog titled TITLE and accepted.
file_dialog() {
    xdo key --clearmodifiers alt+f
    sleep 0.3
    for _ in $(seq "$1"); do xdo key Down; done
    xdo key Return
    local id
    id=$(wait_window "$KRAV_PID" "^$2" "the $2 dialog")
    wait_settled "$id"
    xdo type --delay 20 "$3"
    sleep 0.5
    shot "dialog-$3" >/dev/null
    xdo key Return
    gone() { ! xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable'; }
    wait_until 10 "the $2 dialog closing" gone
    sleep 0.5
}
step "File > Export Tileset, exported.bmp"
file_dialog 6 "Export Tileset" "exported.bmp"
cmp -s "$SESSION_DIR/exported.bmp" "$SESSION_DIR/inverted.bmp" ||
    record_failure "File > Export Tileset did not write the level's tile set"
step "File > Import Tileset, a level without a tile set: back to the built-in set"
make_level plain.lvl
file_dialog 5 "Import Tile Set" "plain.lvl"
builtin_again=$(shot builtin-again)
[ "$(pixel_at "$builtin_again" "$cx" "$cy")" = "$map_before" ] ||
    record_failure "after importing a level without a tile set the map does not show the built-in set"
title_has "$MAIN_WINDOW" '*' || record_failure "the switch back did not mark the level modified"
step "Tileset palette shrunk: scroll bars, and the up arrow shows the row above"
palette=$(visible_window "$KRAV_PID" '^Tileset')
xdo windowsize --sync "$palette" 200 120
wait_settled "$palette"
read -r px py pw ph < <(client_geometry "$palette")
[ "$pw" -lt 304 ] && [ "$ph" -lt 160 ] || fail "the palette was not shrunk (${pw}x$ph)"
xdo mousemove --sync $((px + 20)) $((py + 20)) # off the arrow while the pictures are taken
sleep 0.3
shrunk=$(shot palette-shrunk)
# The last rows were in view and stay there; the up arrow is at the top of the right-hand bar.
xdo mousemove --sync $((px + pw - 5)) $((py + 5)) click 1
xdo mousemove --sync $((px + 20)) $((py + 20))
sleep 0.3
scrolled=$(shot palette-scrolled)
[ "$(pixel_at "$shrunk" $((px + 3)) $((py + 3)))" != "$(pixel_at "$scrolled" $((px + 3)) $((py + 3)))" ] ||
    record_failure "a click on the palette's scroll bar arrow did not scroll the tiles"
finish
