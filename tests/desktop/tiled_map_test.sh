#!/usr/bin/env bash
# File > Export > Tiled Map writes the level as a Tiled map that krav-lvl reads back to the same
# bytes, and File > Import Tiled Map opens such a map as a new untitled level that saves to the
# level it came from. Menus are reached from the keyboard: Alt+F, then each entry's letter.
source "$(dirname "$0")/lib.sh"

start_desktop
make_level a.lvl "tile fore 5" "down left 40 40" "move 200 40 left" "up left 200 40" \
    "tile fore 169" "down left 300 300" "up left 300 300" \
    "tool 32103" "object 700" "down left 400 200" "up left 400 200"
start_editor_on a.lvl

# type_path DIALOG_TITLE PATH: waits for a file dialog and accepts PATH typed into it.
type_path() {
    local dialog
    dialog=$(wait_window "$KRAV_PID" "^$1" "the $1 dialog")
    wait_until 5 "the $1 dialog getting the focus" is_active "$dialog"
    xdo key --clearmodifiers ctrl+a
    xdo type --delay 10 "$2"
    xdo key --clearmodifiers Return
}

step "File > Export > Tiled Map (.tmx)..."
xdo windowactivate --sync "$MAIN_WINDOW"
xdo key --clearmodifiers alt+f e t
type_path "Export Tiled Map" "$SESSION_DIR/a.tmx"
exported() { [ -s "$SESSION_DIR/a.tmx" ] && [ -s "$SESSION_DIR/a-tiles.png" ] && [ -s "$SESSION_DIR/a-objects.png" ]; }
wait_until 10 "a.tmx and its two pictures being written" exported
"$KRAV_LVL" import-tmx "$SESSION_DIR/a.tmx" "$SESSION_DIR/back.lvl" ||
    record_failure "krav-lvl could not import the map the editor exported"
cmp -s "$SESSION_DIR/a.lvl" "$SESSION_DIR/back.lvl" ||
    record_failure "the exported map does not read back to the level's bytes"

step "File > Import Tiled Map..., the map edited so that the object covers a tile: refused"
placed=$(sed -n 's/.*<object id="1" gid="[0-9]*" x="\([0-9]*\)" y="\([0-9]*\)".*/\1 \2/p' "$SESSION_DIR/a.tmx")
[ -n "$placed" ] || fail "a.tmx holds no object 1"
sed 's/\(<object id="1" gid="[0-9]*"\) x="[0-9]*" y="[0-9]*"/\1 x="32" y="32"/' "$SESSION_DIR/a.tmx" \
    >"$SESSION_DIR/covered.tmx"
xdo windowactivate --sync "$MAIN_WINDOW"
xdo key --clearmodifiers alt+f d
type_path "Import Tiled Map" "$SESSION_DIR/covered.tmx"
box=$(wait_window "$KRAV_PID" '^KRAV$' "the message box refusing covered.tmx")
wait_settled "$box"
screenshot refused
title_has "$MAIN_WINDOW" "a.lvl" || record_failure "a level was opened from the refused map"
xdo key --clearmodifiers Return
box_gone() { ! xwininfo -id "$box" 2>/dev/null | grep -q 'IsViewable'; }
wait_until 10 "the message box closing" box_gone
"$KRAV_LVL" import-tmx "$SESSION_DIR/covered.tmx" "$SESSION_DIR/covered.lvl" 2>"$SESSION_DIR/covered.err" &&
    record_failure "krav-lvl imported the map whose object covers a tile"
grep -q 'the tile at column 2, row 2 lies under object 1' "$SESSION_DIR/covered.err" ||
    record_failure "krav-lvl's refusal does not name the covered cell: $(cat "$SESSION_DIR/covered.err")"
[ ! -e "$SESSION_DIR/covered.lvl" ] || record_failure "the refused import left covered.lvl"

step "File > Import Tiled Map..."
xdo windowactivate --sync "$MAIN_WINDOW"
xdo key --clearmodifiers alt+f d
type_path "Import Tiled Map" "$SESSION_DIR/a.tmx"
wait_until 10 "an untitled modified level being opened" title_has "$MAIN_WINDOW" "KRAV1*"
screenshot imported

step "Ctrl+S saves the imported level under a new name"
xdo key --clearmodifiers ctrl+s
type_path "Save As" "$SESSION_DIR/c.lvl"
saved() { [ -s "$SESSION_DIR/c.lvl" ]; }
wait_until 10 "c.lvl being saved" saved
cmp -s "$SESSION_DIR/a.lvl" "$SESSION_DIR/c.lvl" ||
    record_failure "the imported level saved to other bytes than the level it was exported from"
finish
