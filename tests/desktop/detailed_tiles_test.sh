#!/usr/bin/env bash
# View > Detailed Tiles When Zoomed Out: zoomed out to 1:4 with the wheel, blue, brown and
# green walls are one radar grey; with the toggle on each cell shows its tile's picture
# shrunk by averaging (checked pixel by pixel against the level's own tile set), and off again
# the grey comes back. The choice is kept in krav.ini.
source "$(dirname "$0")/lib.sh"

shot() { import -display "$DISPLAY" -window root "$OUT_DIR/$1.png" && echo "$OUT_DIR/$1.png"; }
GREY=192,192,192
# The first row of the built-in tile set: grey, blue, brown and green walls, three each.
BLUE_WALL=3
BROWN_WALL=6
GREEN_WALL=9
ROWS=(4 6 8) # a line of each, columns 2 to 20

# cell_pixels SHOT COL ROW: the 4 x 4 screen pixels of a cell at 1:4 as "R,G,B" lines.
cell_pixels() {
    convert "$1" -crop "4x4+$((VIEW_X + $2 * 4))+$((VIEW_Y + $3 * 4))" +repage -depth 8 txt:- |
        sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1,\2,\3/p'
}
# shrunk_tile TILE: the tile's 16 x 16 picture from tileset.bmp averaged to 4 x 4, as lines.
shrunk_tile() {
    python3 - "$SESSION_DIR/tileset.bmp" "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
tile = int(sys.argv[2])
offset, = struct.unpack_from('<I', data, 10)
width, height = struct.unpack_from('<ii', data, 18)
colours = [data[54 + 4 * i:54 + 4 * i + 3] for i in range(256)]  # blue, green, red
def pixel(x, y):
    row = y if height < 0 else abs(height) - 1 - y
    return colours[data[offset + row * width + x]]
left, top = tile % 19 * 16, tile // 19 * 16
for by in range(4):
    for bx in range(4):
        sums = [0, 0, 0]
        for y in range(4):
            for x in range(4):
                b, g, r = pixel(left + bx * 4 + x, top + by * 4 + y)
                sums[0] += r; sums[1] += g; sums[2] += b
        print(','.join(str((s + 8) // 16) for s in sums))
PY
}

start_desktop
make_level a.lvl \
    "tile fore $BLUE_WALL" "down left 40 72" "move 328 72 left" "up left 328 72" \
    "tile fore $BROWN_WALL" "down left 40 104" "move 328 104 left" "up left 328 104" \
    "tile fore $GREEN_WALL" "down left 40 136" "move 328 136 left" "up left 328 136"
"$KRAV_LVL" tileset "$SESSION_DIR/a.lvl" "$SESSION_DIR/tileset.bmp" || fail "krav-lvl tileset failed"
start_editor_on a.lvl
find_view_client a.lvl

step "Ctrl + two wheel notches down over cell 0,0: zoom 1:4"
xdo mousemove --sync $((VIEW_X + 2)) $((VIEW_Y + 2))
xdo keydown ctrl click 5 click 5 keyup ctrl
# Away from the cells checked, so that the pointer hides nothing.
xdo mousemove --sync $((VIEW_X + 300)) $((VIEW_Y + 300))
sleep 0.5
plain=$(shot radar-colours)
for row in "${ROWS[@]}"; do
    got=$(cell_pixels "$plain" 10 "$row" | sort -u | tr '\n' ' ')
    [ "$got" = "$GREY " ] || record_failure "toggle off: the wall at cell 10,$row is not plain radar grey: $got"
done

step "View > Detailed Tiles When Zoomed Out"
xdo key --clearmodifiers alt+v
sleep 0.3
shot view-menu >/dev/null
xdo key d
sleep 0.5
detailed=$(shot detailed)
for row in "${ROWS[@]}"; do
    tile=$((row == 4 ? BLUE_WALL : row == 6 ? BROWN_WALL : GREEN_WALL))
    want=$(shrunk_tile "$tile")
    got=$(cell_pixels "$detailed" 10 "$row")
    [ "$got" = "$want" ] ||
        record_failure "toggle on: cell 10,$row does not show tile $tile shrunk: got $(echo $got), want $(echo $want)"
    step "tile $tile at 1:4: $(echo "$got" | head -n 1) ..."
done
grep -A3 '^\[View\]' "$XDG_CONFIG_HOME/krav.ini" | grep -qx 'DetailedTiles=true' ||
    record_failure "krav.ini does not keep the toggle: $(cat "$XDG_CONFIG_HOME/krav.ini")"

step "View > Detailed Tiles When Zoomed Out again: the radar colours are back"
xdo key --clearmodifiers alt+v
sleep 0.3
xdo key d
sleep 0.5
back=$(shot toggled-off)
got=$(cell_pixels "$back" 10 4 | sort -u | tr '\n' ' ')
[ "$got" = "$GREY " ] || record_failure "toggle off again: cell 10,4 is $got"
finish
