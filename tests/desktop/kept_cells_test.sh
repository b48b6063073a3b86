#!/usr/bin/env bash
# A level holding records of codes no tile or object has: opening it asks, in a box titled
# KRAV, whether to keep those cells; Yes opens it with them drawn as marked cells, Tile Info
# names the code under the pointer, a Pencil click replaces one, and Ctrl+S writes every other
# one back with its code in its cell.
source "$(dirname "$0")/lib.sh"

MAGENTA='srgb(255,0,255)'

# write_level NAME UNKNOWN: a level of walls on rows 1..6, columns 1..14; with UNKNOWN, codes
# 241 and 242 at cells (10, 2), (11, 2) and (12, 5), row by row as the writer puts them.
write_level() {
    python3 - "$SESSION_DIR/$1" "$2" <<'PY'
import struct, sys
unknown = {(10, 2): 241, (11, 2): 242, (12, 5): 241} if sys.argv[2] == "yes" else {}
with open(sys.argv[1], "wb") as out:
    for y in range(1, 7):
        for x in range(1, 15):
            code = unknown.get((x, y), 1 + (x + y) % 4)
            out.write(struct.pack("<I", code << 24 | y << 12 | x))
PY
}

# pixel X Y: the screen's colour there.
pixel() { convert "$OUT_DIR/$1.png" -format "%[pixel:p{$2,$3}]" info:; }

start_desktop
write_level a.lvl yes
write_level twin.lvl no # the same first 8 x 8 cells, which find_view_client renders
cp "$SESSION_DIR/a.lvl" "$SESSION_DIR/original.lvl"

step "opening a.lvl: the box offers to keep the cells"
start_krav a.lvl
box=$(wait_window "$KRAV_PID" '^KRAV' "the question box")
wait_until 5 "the question box getting the focus" is_active "$box"
screenshot question
xdo key --clearmodifiers Return # Yes is the default button
MAIN_WINDOW=$(wait_window "$KRAV_PID" '^Orbalon Map Editor' "the main window")
wait_until 20 "the main window's title naming a.lvl" title_has "$MAIN_WINDOW" a.lvl
for palette in Tileset 'Tile Info' Radar; do
    wait_window "$KRAV_PID" "^$palette" "the $palette palette" >/dev/null
done
wait_settled "$MAIN_WINDOW"
find_view_client twin.lvl

read -r x y < <(cell_point 10 2)
step "pointer over kept cell 10,2"
xdo mousemove --sync "$x" "$y"
sleep 1.5 # the tooltip's delay
screenshot kept
# Left of the white cross, inside the black frame.
[ "$(pixel kept $((x - 5)) "$y")" = "$MAGENTA" ] ||
    record_failure "kept cell 10,2 is $(pixel kept $((x - 5)) "$y") on screen, expected magenta"

step "Pencil click on kept cell 12,5, then Ctrl+S"
read -r x y < <(cell_point 12 5)
xdo mousemove --sync "$x" "$y" click 1
file_id() { stat -c '%i %Y %s' "$SESSION_DIR/a.lvl"; }
before=$(file_id)
xdo key --clearmodifiers ctrl+s
saved() { [ "$(file_id)" != "$before" ]; }
wait_until 10 "a.lvl being saved" saved
screenshot saved

dump=$("$KRAV_LVL" dump --keep-unknown "$SESSION_DIR/a.lvl")
grep -q '^unknown: 2 (codes 241, 242)$' <<<"$dump" || record_failure "saved level: $dump"
# Kept cells hold 1024 + their code; tile 0 is the new view's foreground tile.
printf '%s\n' 'expect-cell 10 2 1265' 'expect-cell 11 2 1266' 'expect-cell 12 5 0' >"$SESSION_DIR/expect.play"
"$KRAV_LVL" play --keep-unknown "$SESSION_DIR/expect.play" "$SESSION_DIR/a.lvl" "$SESSION_DIR/check.lvl" ||
    record_failure "the saved level does not hold the kept cells and the painted one: $dump"
finish
