#!/usr/bin/env bash
# Ctrl + wheel while something is in hand: a 3 x 10 selection among flags keeps its cells at
# 2:1 (its outline drawn round them) and at 1:16, where Delete takes exactly those cells; a
# floating block zoomed to 2:1 drops whole where it floated; the stamp preview zoomed to 2:1 is
# made again under the pointer, and the click stamps there. The saved level must equal the
# same edits made by krav-lvl play at 1:1 alone.
source "$(dirname "$0")/lib.sh"

# The base level: flags over cells 18..24 x 3..16, three columns of tiles 10, 11, 12 over
# cells 4..6 x 3..12.
BASE=("tool 32113" "tile fore 169" "down left 296 56" "move 392 264 left" "up left 392 264"
    "tool 32110" "tile fore 10" "down left 72 56" "move 72 200 left" "up left 72 200"
    "tile fore 11" "down left 88 56" "move 88 200 left" "up left 88 200"
    "tile fore 12" "down left 104 56" "move 104 200 left" "up left 104 200")
# The same edits at 1:1: Delete on cells 20..22 x 5..14, the block moved two columns right and
# dropped, a 6 x 6 object stamped with the pointer on cell 30,20.
EDITS=("tool 32101" "down left 328 88" "move 376 248 left" "up left 376 248" "accel delete"
    "down left 72 56" "move 120 216 left" "up left 120 216"
    "down left 88 136" "move 120 136 left" "up left 120 136" "down left 24 24" "up left 24 24"
    "tool 32103" "object 500" "down left 488 328" "up left 488 328")

# ctrl_wheel NOTCHES: Ctrl and the wheel at the pointer, away from the user (zoom in) for a
# positive count.
ctrl_wheel() {
    local button=4 clicks=()
    [ "$1" -lt 0 ] && button=5
    for _ in $(seq "${1#-}"); do clicks+=(click "$button"); done
    xdo keydown ctrl "${clicks[@]}" keyup ctrl
    sleep 0.5
}

# outline_at SCREEN LEFT TOP RIGHT BOTTOM: whether the dashed outline (black and white dashes
# of two pixels) runs along the four sides of the client rectangle LEFT..RIGHT x TOP..BOTTOM (right
# and bottom excluded), one pixel outside the cells.
outline_at() {
    python3 - "$@" "$VIEW_X" "$VIEW_Y" <<'PY'
import subprocess, sys
screen, l, t, r, b, vx, vy = sys.argv[1], *map(int, sys.argv[2:])
data = subprocess.run(["convert", screen, "-depth", "8", "rgb:-"], capture_output=True).stdout
width = int(subprocess.run(["identify", "-format", "%w", screen], capture_output=True, text=True).stdout)
def pixel(x, y):
    i = 3 * ((vy + y) * width + vx + x)
    return tuple(data[i:i + 3])
sides = [[(l - 1, y) for y in range(t, b)], [(r, y) for y in range(t, b)],
         [(x, t - 1) for x in range(l, r)], [(x, b) for x in range(l, r)]]
for side in sides:
    colours = [pixel(x, y) for x, y in side]
    white = sum(c == (255, 255, 255) for c in colours)
    black = sum(c == (0, 0, 0) for c in colours)
    if white + black < 0.95 * len(colours) or min(white, black) < 0.3 * len(colours):
        sys.exit(1)
PY
}

start_desktop
make_level a.lvl "${BASE[@]}"
make_level expected.lvl "${BASE[@]}" "${EDITS[@]}"
start_editor_on a.lvl
find_view_client a.lvl
xdo windowactivate --sync "$MAIN_WINDOW"
# Zoomed with the pointer on the view's first pixel, the view keeps showing the map's corner
# (the cell under the pointer stays under it, and so does that pixel of it).
corner() { xdo mousemove --sync "$VIEW_X" "$VIEW_Y"; }

step "Select tool: cells 20..22 x 5..14 among the flags, then Ctrl + wheel up: 2:1"
xdo key --clearmodifiers s
read -r x0 y0 < <(cell_point 20 5)
read -r x1 y1 < <(cell_point 23 15)
xdo mousemove --sync "$x0" "$y0" mousedown 1
xdo mousemove --sync $(((x0 + x1) / 2)) $(((y0 + y1) / 2))
xdo mousemove --sync "$x1" "$y1" mouseup 1
corner
ctrl_wheel 1
screenshot selection-2to1
outline_at "$OUT_DIR/selection-2to1.png" $((20 * 32)) $((5 * 32)) $((23 * 32)) $((15 * 32)) ||
    record_failure "at 2:1 the outline is not round cells 20..22 x 5..14"
outline_at "$OUT_DIR/selection-2to1.png" $((20 * 16)) $((5 * 16)) $((23 * 16)) $((15 * 16)) &&
    record_failure "at 2:1 the outline stayed where the selection's pixels were at 1:1"

step "Ctrl + five notches down: 1:16, then Delete"
ctrl_wheel -5
screenshot selection-1to16
outline_at "$OUT_DIR/selection-1to16.png" 20 5 23 15 ||
    record_failure "at 1:16 the outline is not round cells 20..22 x 5..14"
# At 1:16 a wide view holds the whole width of the map: its edge is two white columns right
# after the last one, black beyond (a map whose last cells are empty would end unseen).
if [ "$VIEW_W" -gt 1030 ]; then
    edge=$(convert "$OUT_DIR/selection-1to16.png" -crop "4x1+$((VIEW_X + 1023))+$((VIEW_Y + 40))" \
        -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | tr '\n' ' ')
    [ "$edge" = "#000000 #FFFFFF #FFFFFF #000000 " ] ||
        record_failure "at 1:16 the map's right edge is not marked: last column, two past it, one beyond: $edge"
fi
xdo key --clearmodifiers Delete
ctrl_wheel 4

step "the block of cells 4..6 x 3..12 lifted and moved two cells right, Ctrl + wheel up, a click beside it"
read -r x0 y0 < <(cell_point 4 3)
read -r x1 y1 < <(cell_point 7 13)
xdo mousemove --sync "$x0" "$y0" mousedown 1
xdo mousemove --sync $(((x0 + x1) / 2)) $(((y0 + y1) / 2))
xdo mousemove --sync "$x1" "$y1" mouseup 1
read -r x0 y0 < <(cell_point 5 8)
read -r x1 y1 < <(cell_point 7 8)
# One motion: the block follows in whole cells once the pointer is more than a cell away.
xdo mousemove --sync "$x0" "$y0" mousedown 1
xdo mousemove --sync "$x1" "$y1" mouseup 1
corner
ctrl_wheel 1
screenshot floating-2to1
xdo mousemove --sync $((VIEW_X + 48)) $((VIEW_Y + 48)) click 1
sleep 0.3
corner
ctrl_wheel -1

step "Stamp tool on cell 30,20, Ctrl + wheel up there, a click"
xdo key --clearmodifiers r
read -r x0 y0 < <(cell_point 29 19)
read -r x1 y1 < <(cell_point 30 20)
xdo mousemove --sync "$x0" "$y0"
xdo mousemove --sync "$x1" "$y1"
ctrl_wheel 1
screenshot stamp-2to1
xdo click 1
sleep 0.3

step "Ctrl+S: the level must hold what the same edits at 1:1 give"
file_id() { stat -c '%i %Y %s' "$SESSION_DIR/a.lvl"; }
before=$(file_id)
xdo key --clearmodifiers ctrl+s
saved() { [ "$(file_id)" != "$before" ]; }
wait_until 10 "a.lvl being saved" saved
screenshot saved
if ! differences=$("$KRAV_LVL" diff "$SESSION_DIR/expected.lvl" "$SESSION_DIR/a.lvl"); then
    record_failure "the saved level differs from the edits made at 1:1:"
    echo "$differences" >&2
fi
printf '%s\n' "expect-cell 20 5 -1" "expect-cell 22 14 -1" "expect-cell 19 5 169" \
    "expect-cell 23 14 169" "expect-cell 20 15 169" "expect-flags 68" \
    "expect-cell 6 3 10" "expect-cell 8 12 12" "expect-cell 4 3 -1" "expect-cell 5 12 -1" \
    "expect-cell 27 17 500" "expect-cell 32 22 535" >"$SESSION_DIR/check.play"
"$KRAV_LVL" play "$SESSION_DIR/check.play" "$SESSION_DIR/a.lvl" "$SESSION_DIR/check-out.lvl" ||
    record_failure "the saved level does not hold the cells expected"
finish
