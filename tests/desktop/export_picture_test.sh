#!/usr/bin/env bash
# File > Export Picture writes the bytes krav-lvl render writes for the same area, zoom and grid:
# the whole map with the dialog's defaults (the view's 1:1 and grid), a selection dragged out
# with the Select tool at 2:1 without grid, the visible area at 1:16. A large export shows a
# progress dialog whose Cancel leaves no file, and the editor is idle again afterwards.
source "$(dirname "$0")/lib.sh"

# cpu_ticks PID: user plus system time in clock ticks (fields 14 and 15 of /proc/PID/stat).
cpu_ticks() {
    local stat
    stat=$(<"/proc/$1/stat")
    stat=${stat##*) }
    awk '{print $12 + $13}' <<<"$stat"
}

# gone ID: whether the window is no longer mapped.
gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }

# export_picture FILE KEYS...: File > Export Picture, KEYS typed into its dialog, then FILE in
# the file dialog.
export_picture() {
    local file=$1 dialog
    shift
    xdo windowactivate --sync "$MAIN_WINDOW"
    xdo key --clearmodifiers alt+f t
    dialog=$(wait_window "$KRAV_PID" '^Export Picture$' "the Export Picture dialog")
    wait_until 5 "the Export Picture dialog getting the focus" is_active "$dialog"
    [ $# -eq 0 ] || xdo key --clearmodifiers --delay 50 "$@"
    screenshot "options-$(basename "$file" .png)"
    xdo key --clearmodifiers Return
    wait_until 5 "the Export Picture dialog closing" gone "$dialog"
    dialog=$(wait_window "$KRAV_PID" '^Export Picture$' "the file dialog")
    wait_until 5 "the file dialog getting the focus" is_active "$dialog"
    xdo key --clearmodifiers ctrl+a
    xdo type --delay 10 "$SESSION_DIR/$file"
    xdo key --clearmodifiers Return
    wait_until 5 "the file dialog closing" gone "$dialog"
}

# picture_size FILE: waits for FILE to be written (it appears whole) and prints "WIDTH HEIGHT"
# from its PNG header; ImageMagick refuses the largest pictures.
picture_size() {
    written() { [ -s "$SESSION_DIR/$1" ]; }
    wait_until 30 "$1 being written" written "$1"
    python3 -c 'import struct, sys
print(*struct.unpack(">II", open(sys.argv[1], "rb").read(24)[16:24]))' "$SESSION_DIR/$1"
}

# expect_render FILE ARGS...: FILE holds the bytes of krav-lvl render a.lvl ARGS.
expect_render() {
    local file=$1
    shift
    picture_size "$file" >/dev/null
    "$KRAV_LVL" render "$SESSION_DIR/a.lvl" "$SESSION_DIR/expected.png" "$@" ||
        fail "krav-lvl could not render a.lvl $*"
    if cmp -s "$SESSION_DIR/$file" "$SESSION_DIR/expected.png"; then
        echo "$file = krav-lvl render $*"
    else
        record_failure "$file is not what krav-lvl render $* writes"
    fi
}

start_desktop
make_level a.lvl "tile fore 5" "down left 40 40" "move 200 40 left" "up left 200 40" \
    "tool 32113" "tile fore 60" "down left 30 120" "move 150 200 left" "up left 150 200" \
    "tool 32100" "tile fore 169" "down left 300 300" "up left 300 300" \
    "tool 32103" "object 700" "down left 72 72" "up left 72 72" \
    "object 500" "down left 100 220" "up left 100 220"
start_editor_on a.lvl
find_view_client a.lvl

step "File > Export Picture..., the defaults: the whole map at the view's 1:1 with grid"
export_picture whole.png
progress=$(wait_window "$KRAV_PID" '^Export Picture$' "the progress dialog")
screenshot progress
expect_render whole.png --zoom 1:1 --grid

step "a selection from cell 2,3 to cell 7,9 at 2:1 without grid"
xdo windowactivate --sync "$MAIN_WINDOW"
xdo key --clearmodifiers s
read -r x0 y0 < <(cell_point 2 3)
read -r x1 y1 < <(cell_point 7 9)
xdo mousemove --sync "$x0" "$y0" mousedown 1
xdo mousemove --sync $(((x0 + x1) / 2)) $(((y0 + y1) / 2))
xdo mousemove --sync "$x1" "$y1" mouseup 1
screenshot selection
export_picture selection.png alt+s alt+z End alt+g
read -r width height < <(picture_size selection.png)
echo "selection picture: ${width}x${height}"
expect_render selection.png --zoom 2:1 --area "2,3,$((2 + width / 32)),$((3 + height / 32))"
[ "$width" -ge 32 ] && [ "$height" -ge 32 ] || record_failure "the selection's picture is empty"

step "the visible area at 1:16"
export_picture visible.png alt+v alt+z Home
read -r width height < <(picture_size visible.png)
echo "visible area picture: ${width}x${height}, view ${VIEW_W}x${VIEW_H}"
# Every cell the view shows a pixel of: the column and row the window's edges cut included.
[ "$width" -eq $(((VIEW_W + 15) / 16)) ] && [ "$height" -eq $(((VIEW_H + 15) / 16)) ] ||
    record_failure "the visible area's picture is not the cells the view shows, whole or in part"
expect_render visible.png --area "0,0,$width,$height"

step "the whole map at 2:1: Cancel in the progress dialog leaves no file"
export_picture big.png alt+w alt+z End
progress=$(wait_window "$KRAV_PID" '^Export Picture$' "the progress dialog")
wait_until 5 "the progress dialog getting the focus" is_active "$progress"
screenshot cancelling
xdo key --clearmodifiers Escape
wait_until 5 "the progress dialog closing" gone "$progress"
sleep 0.5
leftovers=$(find "$SESSION_DIR" -maxdepth 1 -name '*big.png*' | wc -l)
[ "$leftovers" -eq 0 ] || record_failure "a cancelled export left $leftovers files: $(ls -a "$SESSION_DIR")"
wait_until 5 "the main window having the focus again" is_active "$MAIN_WINDOW"

step "idle afterwards: CPU over 5 s"
ticks_before=$(cpu_ticks "$KRAV_PID")
start_ms=$(now_ms)
sleep 5
used_ms=$((($(cpu_ticks "$KRAV_PID") - ticks_before) * 1000 / $(getconf CLK_TCK)))
echo "cpu: ${used_ms} ms in $(($(now_ms) - start_ms)) ms"
[ "$used_ms" -le 100 ] || record_failure "the editor used ${used_ms} ms of CPU in 5 idle seconds"
screenshot idle
finish
