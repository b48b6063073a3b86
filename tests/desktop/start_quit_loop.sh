#!/usr/bin/env bash
# Starts and quits the editor many times on a display of its own, and reports every run that
# did not end the way it was asked to (a signal, a sanitizer report, a hang).
#
#   tests/desktop/start_quit_loop.sh [OPTIONS] KRAV COUNT
#
#   --no-wm          no window manager (openbox otherwise)
#   --wrap CMD       run the editor under CMD (e.g. "valgrind --error-exitcode=99 -q")
#   --level FILE     the level to open (default: made with krav-lvl beside KRAV, if found)
#   --out DIR        keep the runs' logs and cores there (default: a new folder in /tmp)
#   --display N      the display number to try first (default 57)
#   --seed N         the random choices (default: the process id)
#   --keep-home      one HOME and XDG folders for all runs, as a user's profile (default:
#                    fresh ones for each run)
#   --quits "A B"    these ways of quitting: altf4 wmctrl delete menu sigterm early xkill
#                    xserver (default: those of the first six that work with or without the
#                    window manager; the X server dying while Qt sets up aborts inside Qt)
#
# Each run has its own Xvfb (and openbox) and varies what it starts (no level, a level, either
# with a recovery folder a crash left behind), how it quits (Alt+F4, wmctrl -c, WM_DELETE_WINDOW
# sent directly, File > Exit, SIGTERM after or before the window maps, the X server dropping
# the connection or going away) and when (at once or after up to two seconds). A run fails when
# its status is not the one its way of quitting calls for (0; 143 for SIGTERM; 1 when the
# X server is gone), a sanitizer or libxcb speaks, or it has to be killed. Failed runs keep
# their folder (stderr, core). Exits 1 when any run failed. Needs Xvfb, openbox, xdotool,
# wmctrl, xdpyinfo and python3.
set -uo pipefail

usage() { sed -n '4,18s/^# \{0,1\}//p' "${BASH_SOURCE[0]}"; }

use_wm=true
wrap=""
level=""
out=""
display=57
seed=$$
only_quits=""
keep_home=false
while [ $# -gt 0 ]; do
    case $1 in
    --no-wm) use_wm=false ;;
    --wrap) wrap=$2; shift ;;
    --level) level=$2; shift ;;
    --out) out=$2; shift ;;
    --display) display=$2; shift ;;
    --seed) seed=$2; shift ;;
    --quits) only_quits=$2; shift ;;
    --keep-home) keep_home=true ;;
    -h | --help) usage; exit 0 ;;
    -*) usage >&2; exit 2 ;;
    *) break ;;
    esac
    shift
done
[ $# -eq 2 ] || { usage >&2; exit 2; }
krav=$(realpath "$1")
count=$2
[ -x "$krav" ] || { echo "not a program: $krav" >&2; exit 2; }
for tool in Xvfb xdotool wmctrl; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 2; }
done
$use_wm && ! command -v openbox >/dev/null && { echo "openbox is missing" >&2; exit 2; }
RANDOM=$seed

out=${out:-$(mktemp -d /tmp/krav-start-quit.XXXXXX)}
mkdir -p "$out"
out=$(realpath "$out")

server_pids=()
stop_display() {
    local pid
    for pid in "${server_pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${server_pids[@]}"; do wait "$pid" 2>/dev/null; done
    server_pids=()
}
trap stop_display EXIT

# A display of our own for each run, so that a window manager left busy by one run cannot
# spoil the next: the first number from $display on without a lock file.
start_display() {
    local logs=$1 tries
    while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
    # -noreset: without it the server resets when the probe below disconnects, and a window
    # manager connecting just then is refused.
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$logs/xvfb.log" 2>&1 &
    server_pids+=($!)
    export DISPLAY=":$display"
    for tries in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    if $use_wm; then
        openbox --sm-disable >"$logs/openbox.log" 2>&1 &
        server_pids+=($!)
        for tries in $(seq 100); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
        # A run without its window manager would blame the editor for quits nobody passed on.
        wmctrl -m >/dev/null 2>&1 || { echo "openbox did not start on :$display (see $logs)" >&2; exit 2; }
    fi
}

if [ -z "$level" ]; then
    lvl=$(dirname "$krav")/../cli/krav-lvl
    play=$(dirname "$(realpath "${BASH_SOURCE[0]}")")/../../resources/demo/station.play
    if [ -x "$lvl" ] && [ -f "$play" ] && "$lvl" play "$play" new "$out/station.lvl" >/dev/null; then
        level=$out/station.lvl
    fi
fi

# The folder a crashed editor leaves: a level and its record, written by a process that is
# gone (no process has a pid above pid_max).
leave_recovery() {
    local folder=$1/krav/recovery
    mkdir -p "$folder"
    chmod 700 "$folder"
    if [ -n "$level" ]; then cp "$level" "$folder/999999999-0badf00d.lvl"; else : >"$folder/999999999-0badf00d.lvl"; fi
    printf '{"format":1,"original":"","title":"KRAV7","saved":"%s","pid":2147483646,"processStart":""}\n' \
        "$(date -u +%Y-%m-%dT%H:%M:%S.000Z)" >"$folder/999999999-0badf00d.json"
}

random_ms() { echo $((RANDOM % ($1 + 1))); }
sleep_ms() { sleep "$(printf '0.%03d' "$1")" 2>/dev/null || sleep "$(($1 / 1000))"; }
alive() { kill -0 "$1" 2>/dev/null; }

# The main window's title starts with the name; palettes and dialogs only end with it.
main_window() { xdotool search --onlyvisible --name "^Orbalon Map Editor" 2>/dev/null | head -1; }
dialog_window() { xdotool search --onlyvisible --name "^(KRAV|Recover Levels)" 2>/dev/null | head -1; }

# What a window manager sends when a window's close box is clicked, for runs without one.
send_wm_delete() {
    python3 - "$1" <<'PY'
import ctypes, sys
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XFlush.argtypes = [ctypes.c_void_p]
x.XCloseDisplay.argtypes = [ctypes.c_void_p]
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 19)]
display = x.XOpenDisplay(None)
if not display:
    sys.exit(1)
event = ClientMessage(type=33, window=int(sys.argv[1]), format=32)  # 33: ClientMessage
event.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
x.XSendEvent(display, event.window, 0, 0, ctypes.byref(event))
x.XFlush(display)
x.XCloseDisplay(display)
PY
}

# Keys go to the focus window, or without a window manager to the window under the pointer.
focus() {
    xdotool windowfocus "$1" 2>/dev/null
    xdotool mousemove --window "$1" 5 5 2>/dev/null
}

# Asks the editor to quit the way the run chose.
quit() {
    local how=$1 pid=$2 window
    window=$(main_window)
    case $how in
    altf4) xdotool key --clearmodifiers alt+F4 ;;
    wmctrl) [ -n "$window" ] && wmctrl -i -c "$window" ;;
    delete) [ -n "$window" ] && send_wm_delete "$window" ;;
    menu)
        [ -n "$window" ] && focus "$window"
        xdotool key --clearmodifiers alt+f
        sleep 0.3
        xdotool key x
        ;;
    sigterm | early) kill -TERM "$pid" 2>/dev/null ;;
    # The X server drops the editor's connection, or goes away altogether.
    xkill) [ -n "$window" ] && xdotool windowkill "$window" ;;
    xserver) stop_display ;;
    esac
}

# Waits for the editor to go. A dialog in the way (recovery, "save changes?") is answered
# Escape or "No", and the quit repeated; SIGTERM after 12 s, SIGKILL after 15 s.
settle_quit() {
    local pid=$1 how=$2 tries dialog
    for tries in $(seq 60); do
        alive "$pid" || return 0
        sleep 0.25
        case $tries in
        8 | 16 | 24 | 32)
            dialog=$(dialog_window)
            if [ -n "$dialog" ]; then
                focus "$dialog"
                # "Save changes?" is answered No; the recovery dialog closes with Later.
                case $(xdotool getwindowname "$dialog") in
                KRAV*) xdotool key n ;;
                *) xdotool key Escape ;;
                esac
            fi
            ;;
        12 | 20 | 28 | 36) quit "$how" "$pid" ;;
        48) kill -TERM "$pid" 2>/dev/null; echo "needed SIGTERM" >>"$run/notes" ;;
        esac
    done
    alive "$pid" && { kill -KILL "$pid" 2>/dev/null; echo "hung" >>"$run/notes"; }
}

starts=(none level recovery level+recovery)
quits=(altf4 wmctrl delete menu sigterm early)
$use_wm || quits=(delete sigterm early)
[ -n "$only_quits" ] && read -ra quits <<<"$only_quits"
[ -n "$level" ] || starts=(none recovery)

failed=0
printf 'run start quit delay_ms status notes\n' >"$out/runs.txt"
for i in $(seq "$count"); do
    run=$out/run$i
    profile=$run
    $keep_home && profile=$out/profile
    mkdir -p "$run" "$profile"/{home,config,data,cache,runtime}
    start_display "$run"
    chmod 700 "$profile/runtime"
    start=${starts[RANDOM % ${#starts[@]}]}
    how=${quits[RANDOM % ${#quits[@]}]}
    delay=$((RANDOM % 2 == 0 ? 0 : $(random_ms 2000)))
    args=()
    case $start in *level*) args+=("$level") ;; esac
    case $start in *recovery*) leave_recovery "$profile/data" ;; esac
    : >"$run/notes"
    (
        cd "$run" || exit 99
        ulimit -c unlimited
        export HOME=$profile/home XDG_CONFIG_HOME=$profile/config XDG_DATA_HOME=$profile/data \
            XDG_CACHE_HOME=$profile/cache XDG_RUNTIME_DIR=$profile/runtime
        # shellcheck disable=SC2086 # the wrapper is a command line
        exec $wrap "$krav" "${args[@]}" >"$run/stdout" 2>"$run/stderr"
    ) &
    pid=$!
    if [ "$how" = early ] || [ "$how" = xserver ]; then
        delay=$(random_ms 1500)
        sleep_ms "$delay"
    else
        if ! timeout 30 xdotool search --sync --onlyvisible --name "^Orbalon Map Editor" >/dev/null 2>&1; then
            echo "no window" >>"$run/notes"
            xwininfo -root -tree >"$run/windows" 2>&1
        fi
        sleep_ms "$delay"
    fi
    quit "$how" "$pid"
    settle_quit "$pid" "$how"
    wait "$pid"
    status=$?
    notes=$(paste -sd, "$run/notes")
    bad=false
    case $how:$status in
    early:143 | sigterm:143 | xkill:1 | xserver:1 | *:0) ;;
    *) bad=true ;;
    esac
    grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:|terminate called|ASSERT|FATAL|\[xcb\]|Invalid (read|write)|definitely lost' \
        "$run/stderr" && bad=true
    case $notes in *hung*) bad=true ;; esac
    stop_display
    printf '%d %s %s %d %d %s\n' "$i" "$start" "$how" "$delay" "$status" "${notes:--}" >>"$out/runs.txt"
    if $bad; then
        failed=$((failed + 1))
        echo "run $i FAILED: start=$start quit=$how delay=${delay}ms status=$status ${notes} (see $run)"
        tail -n 20 "$run/stderr"
    else
        rm -rf "$run"
    fi
done
echo "$count runs, $failed failed; log in $out/runs.txt"
[ "$failed" -eq 0 ]
