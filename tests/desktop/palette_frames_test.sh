#!/usr/bin/env bash
# The palettes under a window manager: a title and a close box, nothing that minimises or
# maximises them (minimising one would take the whole editor with it), titles wide enough to
# read, and no palette on top of another, Special Objects included.
source "$(dirname "$0")/lib.sh"

PALETTES=(Tileset 'Tile Info' Radar 'Special Objects')

start_desktop
make_level a.lvl
start_editor_on a.lvl
step "showing Special Objects (the Rubber Stamp's key)"
xdo key r
declare -A ids
for palette in "${PALETTES[@]}"; do
    ids[$palette]=$(wait_window "$KRAV_PID" "^$palette\$" "the $palette palette")
    wait_settled "${ids[$palette]}"
done
screenshot palettes

# The width the window manager's title font (openbox: sans, bold, 8 points) gives a text.
text_width() {
    convert -density 96 -font DejaVu-Sans-Bold -pointsize 8 label:"$1" -format '%w' info:
}

for palette in "${PALETTES[@]}"; do
    id=${ids[$palette]}
    actions=$(xprop -id "$id" _NET_WM_ALLOWED_ACTIONS)
    echo "$palette: ${actions#*= }"
    for action in MINIMIZE MAXIMIZE_HORZ MAXIMIZE_VERT FULLSCREEN; do
        [[ "$actions" == *"_NET_WM_ACTION_$action"* ]] &&
            record_failure "the $palette palette's window allows _NET_WM_ACTION_$action"
    done
    [[ "$actions" == *_NET_WM_ACTION_CLOSE* ]] || record_failure "the $palette palette has no close box"

    # The title bar holds the window-menu icon, the title and the close box; the buttons are
    # about as wide as the bar is high.
    read -r x y w h < <(frame_geometry "$id")
    read -r _ _ bar _ < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ,)
    need=$(($(text_width "$palette") + 3 * bar))
    echo "$palette: frame ${w}x$h at $x,$y; its title needs $need pixels"
    [ "$w" -ge "$need" ] || record_failure "the $palette palette is $w pixels wide: its title is cut (needs $need)"
done

step "no palette covers another"
for ((i = 0; i < ${#PALETTES[@]}; ++i)); do
    read -r ax ay aw ah < <(frame_geometry "${ids[${PALETTES[i]}]}")
    for ((j = i + 1; j < ${#PALETTES[@]}; ++j)); do
        read -r bx by bw bh < <(frame_geometry "${ids[${PALETTES[j]}]}")
        if [ "$ax" -lt $((bx + bw)) ] && [ "$bx" -lt $((ax + aw)) ] &&
            [ "$ay" -lt $((by + bh)) ] && [ "$by" -lt $((ay + ah)) ]; then
            record_failure "${PALETTES[i]} ($aw x $ah at $ax,$ay) and ${PALETTES[j]} ($bw x $bh at $bx,$by) overlap"
        fi
    done
done

# viewable ID: whether the window is on the screen (not minimised, not hidden).
viewable() { xwininfo -id "$1" | grep -q 'Map State: IsViewable'; }

step "asking the window manager to minimise each palette"
for palette in "${PALETTES[@]}"; do
    xdo windowminimize "${ids[$palette]}"
    sleep 0.5
    viewable "$MAIN_WINDOW" || {
        screenshot "minimised-by-$palette"
        record_failure "minimising the $palette palette minimised the main window"
        xdo windowactivate "$MAIN_WINDOW" # bring it back for the next one
        sleep 0.5
    }
    viewable "${ids[$palette]}" || record_failure "the $palette palette was minimised"
done

step "the Tools menu marks the current tool"
xdo key alt+w
sleep 0.5
xdo key Left # from Window to Tools
sleep 0.5
screenshot tools-menu
xdo key Escape Escape
finish
