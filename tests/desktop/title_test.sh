#!/usr/bin/env bash
# Window titles as the desktop shows them: the main window names the active level once, with
# a star while it is modified, and the palettes carry their own names only.
source "$(dirname "$0")/lib.sh"

# expect_title ID EXPECTED WHAT [SECONDS]: waits up to SECONDS (default none) for the title,
# then records what it was.
expect_title() {
    local deadline=$(($(now_ms) + ${4:-0} * WAIT_SCALE * 1000))
    until title_is "$1" "$2"; do
        if [ "$(now_ms)" -ge "$deadline" ]; then
            record_failure "$3 is titled \"$(window_title "$1")\", expected \"$2\""
            return
        fi
        sleep 0.1
    done
    echo "ok: $3 is titled \"$2\""
}

start_desktop
make_level a.lvl
start_editor_on a.lvl
screenshot unmodified

expect_title "$MAIN_WINDOW" "Orbalon Map Editor - [a.lvl]" "the main window (a.lvl unmodified)"
for palette in Tileset 'Tile Info' Radar; do
    expect_title "$(visible_window "$KRAV_PID" "^$palette")" "$palette" "the $palette palette"
done

step "drawing one cell with the Pencil"
find_view_client a.lvl
read -r x y < <(cell_point 2 2)
xdo mousemove --sync "$x" "$y" click 1
expect_title "$MAIN_WINDOW" "Orbalon Map Editor - [a.lvl*]" "the main window (a.lvl modified)" 3
screenshot modified
finish
