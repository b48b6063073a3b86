#!/usr/bin/env bash
# Palettes never keep the keyboard: after a click in any palette, Page Up/Down, the arrows and
# Home/End move the map view, the palettes' own keys (X, Z, Shift+X) still step the tiles, and
# none of these clicks and keys paints on the map or changes the level.
source "$(dirname "$0")/lib.sh"

# Columns of the view compared with the level: left of Tile Info, whatever the style.
COLUMNS=56

start_desktop
# A line one column right for every two rows down: every run of 8 rows looks different.
make_level a.lvl "size 4800 4800" "tool 32110" "down left 8 8" "up left 2408 4792"
cp "$SESSION_DIR/a.lvl" "$SESSION_DIR/a-before.lvl"
"$KRAV_LVL" render "$SESSION_DIR/a.lvl" "$SESSION_DIR/map.png" --zoom 1:1 \
    --area "0,0,$COLUMNS,300" --grid >/dev/null
convert "$SESSION_DIR/map.png" "$SESSION_DIR/map.ppm"
start_editor_on a.lvl
find_view_client a.lvl

# top_row: the map row the view shows at its top (empty: it shows other columns).
top_row() {
    import -display "$DISPLAY" -window root -depth 8 "$SESSION_DIR/now.ppm"
    python3 "$DESKTOP_HELPERS/view_rows.py" "$SESSION_DIR/now.ppm" "$SESSION_DIR/map.ppm" \
        "$VIEW_X" "$VIEW_Y" "$COLUMNS"
}
# row_is WANT: whether the view shows row WANT at its top; "other" stands for any other view
# than the map's first rows and columns (End shows the map's right edge).
row_is() {
    local row
    row=$(top_row)
    if [ "$1" = other ]; then [ "$row" != 0 ]; else [ "$row" = "$1" ]; fi
}
# press KEY WANT WHAT: a real key press; the view must come to show row WANT at its top.
# Returns 1 when it does not.
press() {
    local key=$1 want=$2 what=$3 deadline=$(($(now_ms) + 3 * WAIT_SCALE * 1000))
    xdo key "$key"
    until row_is "$want"; do
        if [ "$(now_ms)" -ge "$deadline" ]; then
            record_failure "$what: after $key the view's top row is '$(top_row)', not '$want'"
            return 1
        fi
        sleep 0.1
    done
    echo "ok: $what: $key shows row '$want' at the top"
}

press Next other "the main window has the keys" || fail "Page Down in the main window did not page"
PAGE=$(top_row)
[ -n "$PAGE" ] || fail "after Page Down the view shows no rows of the level's first columns"
step "one page is $PAGE rows"
press Prior 0 "the main window has the keys" || fail "Page Up in the main window did not page back"

# click_palette TITLE: a click where a user clicks that palette: Radar on its title bar (a
# click in it moves the view), the others in the middle of their client area.
click_palette() {
    local id x y w h
    id=$(visible_window "$KRAV_PID" "^$1\$")
    [ -n "$id" ] || fail "no $1 palette on the screen"
    read -r x y w h < <(client_geometry "$id")
    if [ "$1" = Radar ]; then
        read -r x y w h < <(frame_geometry "$id")
        xdo mousemove --sync $((x + w / 2)) $((y + 5)) click 1
    else
        xdo mousemove --sync $((x + w / 2)) $((y + h / 2)) click 1
    fi
    sleep 0.3
    is_active "$MAIN_WINDOW" || record_failure "a click in $1 made $(active_window) active, not the main window"
}

step "showing Special Objects (the Rubber Stamp's key)"
xdo key r
wait_window "$KRAV_PID" '^Special Objects$' "the Special Objects palette" >/dev/null
sleep 0.5

for palette in Tileset 'Tile Info' Radar 'Special Objects'; do
    step "a click in $palette, then the view's keys"
    click_palette "$palette"
    # Once a key fails the view stays where it is: the next keys tell nothing more.
    press Next "$PAGE" "after a click in $palette" &&
        press Down $((PAGE + 1)) "after a click in $palette" &&
        press Up "$PAGE" "after a click in $palette" &&
        press Prior 0 "after a click in $palette" &&
        press End other "after a click in $palette" &&
        press Home 0 "after a click in $palette" || true
done
screenshot after-palette-clicks

step "the tile keys after a click in the Tileset palette"
click_palette Tileset
info=$(visible_window "$KRAV_PID" '^Tile Info$')
preview() { import -display "$DISPLAY" -window "$info" "$SESSION_DIR/$1.png" && echo "$SESSION_DIR/$1.png"; }
differs() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" != 0 ]; }
first=$(preview tiles-first)
xdo key x
sleep 0.5
next=$(preview tiles-next)
differs "$first" "$next" || record_failure "X did not step the foreground tile (Tile Info unchanged)"
xdo key z
sleep 0.5
back=$(preview tiles-back)
differs "$first" "$back" && record_failure "Z did not step the foreground tile back"
xdo key shift+x
sleep 0.5
background=$(preview tiles-background)
differs "$first" "$background" || record_failure "Shift+X did not step the background tile"
xdo key shift+z
sleep 0.5
screenshot tile-keys

step "the level is as it was"
title_is "$MAIN_WINDOW" "Orbalon Map Editor - [a.lvl]" ||
    record_failure "the main window is titled \"$(window_title "$MAIN_WINDOW")\": the level changed"
row_is 0 || record_failure "the view's first rows differ from the level as saved (painted on?)"
cmp -s "$SESSION_DIR/a.lvl" "$SESSION_DIR/a-before.lvl" || record_failure "a.lvl was written"
finish
