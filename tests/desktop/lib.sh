# Shared by the desktop tests: a private X session (Xvfb and openbox), a fresh profile, the
# real editor started in it, and helpers that wait for its windows. Sourced, not run.
#
# Environment: KRAV and KRAV_LVL (the binaries, set by CTest), KRAV_DESKTOP_OUT (folder for
# logs and screenshots), KRAV_DESKTOP_KEEP=1 to keep the session folder.
set -Eeuo pipefail
# A command that fails outside a check ends the test: say which, or the log shows nothing.
trap 'echo "FAIL: \"$BASH_COMMAND\" failed with status $? (${BASH_SOURCE[0]##*/} line $LINENO)" >&2' ERR

: "${KRAV:?KRAV must name the krav binary}"
: "${KRAV_LVL:?KRAV_LVL must name the krav-lvl binary}"
TEST_NAME=$(basename "$0" _test.sh)${1:+-$1}
OUT_DIR=${KRAV_DESKTOP_OUT:-$PWD/desktop-out}/$TEST_NAME
DESKTOP_HELPERS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
SKIP=77
# Sanitizer builds start several times slower; waits stretch, limits on idle CPU do not.
WAIT_SCALE=1
[ -n "${ASAN_OPTIONS:-}${UBSAN_OPTIONS:-}" ] && WAIT_SCALE=4

SESSION_DIR=
XVFB_PID=
OPENBOX_PID=
OTHER_PIDS=()
KRAV_PIDS=()
KRAV_RUNS=0

step() { echo "-- $*"; }

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

pass() {
    echo "PASS: $TEST_NAME"
    exit 0
}

# Checks that report and count a failure but let the test go on, so that one run shows every
# fault it can see; finish ends the test.
FAILURES=0
record_failure() {
    echo "FAIL: $*" >&2
    FAILURES=$((FAILURES + 1))
}

finish() {
    [ "$FAILURES" -eq 0 ] || exit 1
    pass
}

for tool in Xvfb openbox xdotool xprop xwininfo xdpyinfo xmessage import convert python3; do
    command -v "$tool" >/dev/null || {
        echo "SKIP: $tool is not installed (scripts/test.sh installs it)"
        exit "$SKIP"
    }
done

mkdir -p "$OUT_DIR"
rm -f "$OUT_DIR"/*.png "$OUT_DIR"/*.log "$OUT_DIR"/*.err "$OUT_DIR"/*.out

# xdo ARGS...: xdotool, bounded: a window manager that stops answering freezes the pointer
# (it holds it while it decides where a click goes), and --sync would wait for ever.
xdo() {
    timeout $((10 * WAIT_SCALE)) xdotool "$@" || fail "xdotool $* did not finish (pointer or keyboard frozen?)"
}

now_ms() {
    local micros=${EPOCHREALTIME/[.,]/}
    echo $((micros / 1000))
}

# wait_until SECONDS WHAT COMMAND...: polls COMMAND every 100 ms; fails naming WHAT when it
# has not succeeded within SECONDS (times WAIT_SCALE).
wait_until() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$(($(now_ms) + seconds * WAIT_SCALE * 1000))
    until "$@" >/dev/null 2>&1; do
        [ "$(now_ms)" -lt "$deadline" ] || fail "$what did not happen within $((seconds * WAIT_SCALE)) s"
        sleep 0.1
    done
}

screenshot() {
    local file="$OUT_DIR/$1.png"
    import -display "$DISPLAY" -window root "$file" 2>/dev/null && echo "screenshot: $file"
}

# A process that ended may have left its number to someone else's: only our own children are
# stopped.
is_our_child() { [ "$(awk '/^PPid:/ {print $2}' "/proc/$1/status" 2>/dev/null)" = "$$" ]; }

stop_process() {
    local pid=$1
    is_our_child "$pid" || return 0
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 30); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    echo "$(ps -o comm= -p "$pid") (pid $pid) did not end on TERM within 3 s: killed"
    kill -9 "$pid" 2>/dev/null || true
}

on_exit() {
    local status=$?
    set +e
    if [ "$status" -ne 0 ] && [ "$status" -ne "$SKIP" ] && [ -n "$XVFB_PID" ]; then
        screenshot failure
        for log in "$OUT_DIR"/krav-*.err; do
            [ -s "$log" ] && echo "--- $log" && tail -n 20 "$log"
        done
    fi
    for pid in "${KRAV_PIDS[@]}" "${OTHER_PIDS[@]}" $OPENBOX_PID $XVFB_PID; do stop_process "$pid"; done
    wait 2>/dev/null
    if [ -n "$SESSION_DIR" ] && [ "${KRAV_DESKTOP_KEEP:-0}" != 1 ]; then rm -rf "$SESSION_DIR"; fi
    exit "$status"
}
trap on_exit EXIT
trap 'exit 130' INT TERM

x_server_answers() { xdpyinfo >/dev/null 2>&1; }

window_manager_runs() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

# start_x_server: Xvfb on a display number nobody uses; exports DISPLAY. Others start servers
# on fixed numbers too, so a server of ours that finds its number taken after all ends, and the
# next free number is tried.
start_x_server() {
    local number
    for _ in 1 2 3 4 5; do
        number=$((100 + RANDOM % 800))
        [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
        # -noreset: otherwise the server resets when the probe below disconnects, refusing
        # whoever connects next (openbox) for a moment.
        Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$OUT_DIR/xvfb.log" 2>&1 &
        XVFB_PID=$!
        disown "$XVFB_PID" # stop_process reports on it, not the shell
        export DISPLAY=:$number
        local deadline=$(($(now_ms) + 10 * 1000))
        while kill -0 "$XVFB_PID" 2>/dev/null && [ "$(now_ms)" -lt "$deadline" ]; do
            x_server_answers && kill -0 "$XVFB_PID" 2>/dev/null && return 0
            sleep 0.1
        done
        stop_process "$XVFB_PID"
        XVFB_PID=
    done
    fail "no X server of ours could be started (see $OUT_DIR/xvfb.log)"
}

# start_desktop: a fresh profile and X display with openbox; exports HOME, the XDG folders and
# DISPLAY.
start_desktop() {
    SESSION_DIR=$(mktemp -d "${TMPDIR:-/tmp}/krav-desktop.XXXXXX")
    export HOME=$SESSION_DIR/home
    export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
    export XDG_RUNTIME_DIR=$SESSION_DIR/runtime
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    # The editor must reach this display only: not the caller's offscreen platform, Wayland
    # session or bus.
    export QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER XAUTHORITY
    export LC_ALL=C.UTF-8

    start_x_server
    openbox --sm-disable >"$OUT_DIR/openbox.log" 2>&1 &
    OPENBOX_PID=$!
    disown "$OPENBOX_PID"
    wait_until 10 "openbox managing $DISPLAY" window_manager_runs
    step "desktop on $DISPLAY, profile in $HOME"
}

# make_level NAME [PLAY_SCRIPT_LINES...]: a level in the session folder made by krav-lvl play
# from a new level.
make_level() {
    local name=$1 script=$SESSION_DIR/make-$1.play
    shift
    printf '%s\n' "# made by the desktop tests" "$@" >"$script"
    "$KRAV_LVL" play "$script" new "$SESSION_DIR/$name" >/dev/null || fail "krav-lvl could not make $name"
}

# start_krav ARGS...: starts the editor in the session folder; sets KRAV_PID and KRAV_ERR.
start_krav() {
    KRAV_RUNS=$((KRAV_RUNS + 1))
    KRAV_ERR=$OUT_DIR/krav-$KRAV_RUNS.err
    (cd "$SESSION_DIR" && exec "$KRAV" "$@") >"$OUT_DIR/krav-$KRAV_RUNS.out" 2>"$KRAV_ERR" &
    KRAV_PID=$!
    KRAV_PIDS+=("$KRAV_PID")
}

# visible_window PID TITLE_REGEX: the first mapped window of PID whose title matches.
visible_window() {
    # No window yet is an answer too (xdotool then fails), not a reason to end the test.
    { xdotool search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null || true; } | head -n 1
}

# wait_window PID TITLE_REGEX WHAT: waits for a mapped window and prints its id.
wait_window() {
    local pid=$1 regex=$2 what=$3 id deadline=$(($(now_ms) + 20 * WAIT_SCALE * 1000))
    while :; do
        id=$(visible_window "$pid" "$regex")
        [ -n "$id" ] && break
        kill -0 "$pid" 2>/dev/null || fail "krav (pid $pid) ended before $what appeared"
        [ "$(now_ms)" -lt "$deadline" ] || fail "$what (title matching '$regex') did not appear"
        sleep 0.1
    done
    echo "$id"
}

# window_title ID: the window's _NET_WM_NAME (what openbox shows), as UTF-8.
window_title() {
    xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME([A-Z0-9_]*) = "\(.*\)"$/\1/p'
}

title_is() { [ "$(window_title "$1")" = "$2" ]; }
title_has() { [[ "$(window_title "$1")" == *"$2"* ]]; }

# client_geometry ID: "X Y W H" of the client area on the screen.
client_geometry() {
    xwininfo -id "$1" | awk -F: '
        /Absolute upper-left X/ {x = $2} /Absolute upper-left Y/ {y = $2}
        /^ *Width/ {w = $2} /^ *Height/ {h = $2}
        END {print x + 0, y + 0, w + 0, h + 0}'
}

# frame_geometry ID: "X Y W H" of the window with openbox's decorations: the client area
# grown by _NET_FRAME_EXTENTS (left, right, top, bottom).
frame_geometry() {
    local x y w h l r t b
    read -r x y w h < <(client_geometry "$1")
    read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ,)
    [ -n "$b" ] || fail "window $1 has no _NET_FRAME_EXTENTS: openbox does not manage it"
    echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

active_window() { xprop -root _NET_ACTIVE_WINDOW | sed -n 's/.*window id # \(0x[0-9a-f]*\).*/\1/p'; }

# is_active ID: whether ID (decimal, as xdotool prints it) has the focus.
is_active() { [ "$(($(active_window)))" -eq "$1" ]; }

# wait_settled ID: waits until the window's geometry stays the same over half a second.
wait_settled() {
    local id=$1 last= same=0 now deadline=$(($(now_ms) + 10 * WAIT_SCALE * 1000))
    while [ "$same" -lt 5 ]; do
        now=$(client_geometry "$id")
        if [ "$now" = "$last" ]; then same=$((same + 1)); else same=0; fi
        last=$now
        [ "$(now_ms)" -lt "$deadline" ] || fail "window $id kept moving ($now)"
        sleep 0.1
    done
}

# wait_exit PID SECONDS: waits for PID to end and sets EXIT_STATUS; fails if it does not.
wait_exit() {
    local pid=$1 deadline=$(($(now_ms) + $2 * 1000))
    while kill -0 "$pid" 2>/dev/null; do
        [ "$(now_ms)" -lt "$deadline" ] || fail "krav (pid $pid) still runs after $2 s"
        sleep 0.05
    done
    EXIT_STATUS=0
    wait "$pid" || EXIT_STATUS=$?
}

# start_editor_on LEVEL: starts krav on LEVEL and waits until its main window and the three
# palettes a level shows are mapped and the main window holds still. Sets KRAV_PID and
# MAIN_WINDOW.
start_editor_on() {
    start_krav "$1"
    MAIN_WINDOW=$(wait_window "$KRAV_PID" '^Orbalon Map Editor' "the main window")
    wait_until 20 "the main window's title naming $1" title_has "$MAIN_WINDOW" "$1"
    for palette in Tileset 'Tile Info' Radar; do
        wait_window "$KRAV_PID" "^$palette" "the $palette palette" >/dev/null
    done
    wait_settled "$MAIN_WINDOW"
}

# Screen pixels per pixel of the editor: a test that starts it with QT_SCALE_FACTOR=2 sets 2.
VIEW_SCALE=1

# cell_point COL ROW: the screen point at the middle of a map cell at zoom 1:1, the view
# showing cell (0, 0) at its client origin VIEW_X VIEW_Y.
cell_point() {
    local side=$((16 * VIEW_SCALE))
    echo "$((VIEW_X + $1 * side + side / 2)) $((VIEW_Y + $2 * side + side / 2))"
}

# find_view_client LEVEL: sets VIEW_X VIEW_Y VIEW_W VIEW_H to the client area on the screen of
# the map view showing LEVEL (as saved) from its origin; find_view.py says how and why.
find_view_client() {
    local screen=$SESSION_DIR/screen.ppm origin=$SESSION_DIR/origin.png masks=() id x y w h
    "$KRAV_LVL" render "$SESSION_DIR/$1" "$origin" --zoom 1:1 --area 0,0,8,8 --grid >/dev/null ||
        fail "krav-lvl could not render $1"
    for id in $(xdotool search --all --onlyvisible --pid "$KRAV_PID" --name . 2>/dev/null); do
        [ "$id" -eq "$MAIN_WINDOW" ] && continue
        read -r x y w h < <(frame_geometry "$id")
        masks+=("$x,$y,$w,$h")
    done
    # Scaled, each pixel must show as a block of whole screen pixels of its colour.
    convert "$origin" -sample "$((VIEW_SCALE * 100))%" "$SESSION_DIR/origin.ppm"
    read -r x y w h < <(client_geometry "$MAIN_WINDOW")
    local deadline=$(($(now_ms) + 5 * WAIT_SCALE * 1000))
    VIEW_H=
    # The window may be mapped before the view has painted: look again until it shows.
    while [ -z "$VIEW_H" ]; do
        [ "$(now_ms)" -lt "$deadline" ] || fail "the map view's client area was not found on the screen"
        import -display "$DISPLAY" -window root -depth 8 "$screen"
        read -r VIEW_X VIEW_Y VIEW_W VIEW_H < <(python3 "$DESKTOP_HELPERS/find_view.py" "$screen" \
            "$SESSION_DIR/origin.ppm" $((x + w / 2)) $((y + h / 2)) "${masks[@]}") || true
    done
    step "view client area: ${VIEW_W}x${VIEW_H} at $VIEW_X,$VIEW_Y"
}
