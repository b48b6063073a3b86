#!/usr/bin/env bash
# A click of the Pencil (the tool a level starts with) paints the foreground tile into the cell
# under the pointer, and Ctrl+S writes it to the level's file.
source "$(dirname "$0")/lib.sh"

# A new view's foreground tile.
FORE_TILE=0
COL=3
ROW=2

# expect_cells LEVEL EXPECT-LINES...: whether krav-lvl play finds every expectation in LEVEL.
expect_cells() {
    local level=$1 script=$SESSION_DIR/expect.play
    shift
    printf '%s\n' "$@" >"$script"
    "$KRAV_LVL" play "$script" "$level" "$SESSION_DIR/expect-out.lvl"
}

start_desktop
make_level a.lvl
# Saving replaces the file by a new one (a new inode), complete when it appears.
file_id() { stat -c '%i %Y %s' "$SESSION_DIR/a.lvl"; }
before=$(file_id)
start_editor_on a.lvl
find_view_client a.lvl

read -r x y < <(cell_point "$COL" "$ROW")
step "Pencil click on cell $COL,$ROW at $x,$y, then Ctrl+S"
xdo mousemove --sync "$x" "$y" click 1
xdo key --clearmodifiers ctrl+s

saved() { [ "$(file_id)" != "$before" ]; }
wait_until 10 "a.lvl being saved" saved
screenshot saved

expect_cells "$SESSION_DIR/a.lvl" "expect-cell $COL $ROW $FORE_TILE" \
    "expect-cell $((COL - 1)) $ROW -1" "expect-cell $((COL + 1)) $ROW -1" \
    "expect-cell $COL $((ROW - 1)) -1" "expect-cell $COL $((ROW + 1)) -1" ||
    record_failure "the saved level does not hold tile $FORE_TILE at cell $COL,$ROW alone"
info=$("$KRAV_LVL" info "$SESSION_DIR/a.lvl")
grep -qx 'cells: 1' <<<"$info" || record_failure "the saved level should have one painted cell: $info"
finish
