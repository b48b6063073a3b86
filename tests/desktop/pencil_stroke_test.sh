#!/usr/bin/env bash
# pencil_stroke_test.sh [SCALE]: a Pencil click paints the cell under the pointer, and a fast
# drag (the pointer jumping many cells between two motion events) paints a continuous line,
# the one the Line tool draws between the same cells. With SCALE 2 the editor runs with
# QT_SCALE_FACTOR=2: the map must show each pixel as a 2 x 2 block (the view is found on the
# screen by its doubled picture), its Pencil cursor must be the doubled picture with the hot
# spot on the tip, and screen points must still reach the right cells.
source "$(dirname "$0")/lib.sh"

VIEW_SCALE=${1:-1}
CLICK=(2 2)
# The Pencil cursor's hot spot in its 32 x 32 picture (resources/tools/art_cursors.cpp).
HOT_SPOT=(2 13)
# The drag: pressed on the first cell, two jumps, released on the last.
STROKE=(1 4 12 4 6 8)

# client_point COL ROW: the middle of a cell in the view's client pixels at 1:1 (krav-lvl play).
client_point() { echo "$(($1 * 16 + 8)) $(($2 * 16 + 8))"; }

start_desktop
make_level a.lvl
# What the editor must write: the click's cell, and the stroke as two lines of the Line tool.
read -r cx cy < <(client_point "${CLICK[@]}")
read -r x0 y0 < <(client_point "${STROKE[0]}" "${STROKE[1]}")
read -r x1 y1 < <(client_point "${STROKE[2]}" "${STROKE[3]}")
read -r x2 y2 < <(client_point "${STROKE[4]}" "${STROKE[5]}")
make_level expected.lvl "down left $cx $cy" "up left $cx $cy" "tool 32110" \
    "down left $x0 $y0" "move $x1 $y1 left" "up left $x1 $y1" \
    "down left $x1 $y1" "move $x2 $y2 left" "up left $x2 $y2"

file_id() { stat -c '%i %Y %s' "$SESSION_DIR/a.lvl"; }
before=$(file_id)
[ "$VIEW_SCALE" = 1 ] || export QT_SCALE_FACTOR=$VIEW_SCALE
start_editor_on a.lvl
find_view_client a.lvl

read -r x y < <(cell_point "${CLICK[@]}")
xdo mousemove --sync "$x" "$y"
# The size the cursor must have over the view, and then where its hot spot lies.
side=$((32 * VIEW_SCALE))
pencil_cursor_shown() { [ "$(python3 "$DESKTOP_HELPERS/cursor_image.py" | cut -d' ' -f1,2)" = "$side $side" ]; }
wait_until 5 "a ${side} x ${side} cursor over the view" pencil_cursor_shown
cursor=$(python3 "$DESKTOP_HELPERS/cursor_image.py")
expected_cursor="$side $side $((HOT_SPOT[0] * VIEW_SCALE)) $((HOT_SPOT[1] * VIEW_SCALE)) 1"
[ "$cursor" = "$expected_cursor" ] ||
    record_failure "the Pencil cursor is \"$cursor\" (w h x-hot y-hot opaque), expected \"$expected_cursor\""
step "scale $VIEW_SCALE: Pencil cursor $cursor; click on cell ${CLICK[*]} at $x,$y"
xdo click 1
read -r x0 y0 < <(cell_point "${STROKE[0]}" "${STROKE[1]}")
read -r x1 y1 < <(cell_point "${STROKE[2]}" "${STROKE[3]}")
read -r x2 y2 < <(cell_point "${STROKE[4]}" "${STROKE[5]}")
step "fast drag: $x0,$y0 -> $x1,$y1 -> $x2,$y2, one motion event each"
# A pause after each jump: an editor busier than the pointer (a sanitized build) would have
# Qt merge two waiting motions into one, and the test would see one jump, not two.
pause() { sleep "$(awk "BEGIN { print 0.3 * $WAIT_SCALE }")"; }
xdo mousemove --sync "$x0" "$y0" mousedown 1
pause
xdo mousemove --sync "$x1" "$y1"
pause
xdo mousemove --sync "$x2" "$y2"
pause
xdo mouseup 1
xdo key --clearmodifiers ctrl+s

saved() { [ "$(file_id)" != "$before" ]; }
wait_until 10 "a.lvl being saved" saved
screenshot "stroke-scale$VIEW_SCALE"

if ! cmp -s "$SESSION_DIR/a.lvl" "$SESSION_DIR/expected.lvl"; then
    "$KRAV_LVL" diff "$SESSION_DIR/expected.lvl" "$SESSION_DIR/a.lvl" || true
    record_failure "the saved level is not the click and the two lines (diff above: expected, saved)"
fi
echo "saved: $("$KRAV_LVL" info "$SESSION_DIR/a.lvl" | grep cells)"
finish
