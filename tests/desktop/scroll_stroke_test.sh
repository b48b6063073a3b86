#!/usr/bin/env bash
# The map view scrolls by moving the pixels already on the screen and repaints only what
# changed: after wheel notches down and up, a Pencil stroke and more notches over a busy
# level, the screen must show exactly what krav-lvl render draws of the saved level for the
# rows the view then shows (the palettes over the view left out).
source "$(dirname "$0")/lib.sh"

LINES_PER_NOTCH=3 # Qt's default without a desktop's setting

start_desktop
# A patchwork of filled rectangles of different tiles over cells 4 to 31 and 4 to 22, and a
# line of flags across it: the map's corner keeps empty cells and the middle of the view
# stays clear, as find_view_client needs.
script=("tool 32113")
for i in $(seq 0 11); do
    x0=$((64 + i * 20 % 240)) y0=$((64 + i * 16 % 150))
    script+=("tile fore $((i * 13 % 160))" "down left $x0 $y0" "move $((x0 + 200)) $((y0 + 150)) left"
        "up left $((x0 + 200)) $((y0 + 150))")
done
script+=("tool 32110" "tile fore 169" "down left 72 72" "move 504 364 left" "up left 504 364")
make_level a.lvl "${script[@]}"
start_editor_on a.lvl
find_view_client a.lvl
masks=()
for id in $(xdotool search --all --onlyvisible --pid "$KRAV_PID" --name . 2>/dev/null); do
    [ "$id" -eq "$MAIN_WINDOW" ] && continue
    read -r x y w h < <(frame_geometry "$id")
    masks+=("$x,$y,$w,$h")
done

# expect_screen TOP WHAT: the view on the screen against the saved level rendered from row TOP.
expect_screen() {
    local top=$1 what=$2 cols=$((VIEW_W / 16 + 1)) rows=$((VIEW_H / 16 + 1))
    local screen=$SESSION_DIR/screen.ppm expected=$SESSION_DIR/expected.png
    import -display "$DISPLAY" -window root -depth 8 "$screen"
    "$KRAV_LVL" render "$SESSION_DIR/a.lvl" "$expected" --zoom 1:1 --grid \
        --area "0,$top,$cols,$((top + rows))" >/dev/null || fail "krav-lvl could not render a.lvl"
    convert "$expected" -crop "${VIEW_W}x${VIEW_H}+0+0" +repage "$SESSION_DIR/expected.ppm"
    local result
    if result=$(python3 "$DESKTOP_HELPERS/screen_compare.py" "$screen" "$SESSION_DIR/expected.ppm" \
        "$VIEW_X" "$VIEW_Y" "${masks[@]}"); then
        step "$what: $result"
    else
        screenshot "$(echo "$what" | tr ' ' '-')" >/dev/null
        record_failure "$what: the screen is not the level's render from row $top: $result"
    fi
}
settle() { sleep "$(awk "BEGIN { print 0.5 * $WAIT_SCALE }")"; }

step "wheel: two notches down, one up, over the view"
xdo mousemove --sync $((VIEW_X + 200)) $((VIEW_Y + 200))
xdo click 5 click 5 click 4
settle
expect_screen "$LINES_PER_NOTCH" "after the wheel"

step "a Pencil stroke across the patchwork, then a notch down and Ctrl+S"
read -r x0 y0 < <(cell_point 3 4)
xdo mousemove --sync "$x0" "$y0" mousedown 1
for i in $(seq 1 12); do
    xdo mousemove --sync $((x0 + i * 37)) $((y0 + i * 11))
done
xdo mouseup 1
xdo click 5
settle
before=$(stat -c '%Y %s %i' "$SESSION_DIR/a.lvl")
xdo key --clearmodifiers ctrl+s
saved() { [ "$(stat -c '%Y %s %i' "$SESSION_DIR/a.lvl")" != "$before" ]; }
wait_until 10 "a.lvl being saved" saved
expect_screen $((2 * LINES_PER_NOTCH)) "after the stroke and a notch"

step "three notches up: back at the top"
xdo click 4 click 4 click 4
settle
expect_screen 0 "back at the top"
finish
