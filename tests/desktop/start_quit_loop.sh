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
#
# Each run has a fresh HOME and XDG folders and varies what it starts (no level, a level,
# either with a recovery folder a crash left behind), how it quits (Alt+F4, wmctrl -c,
# File > Exit, SIGTERM, SIGTERM before the window maps) and when (at once or after up to two
# seconds). It exits 1 when any run failed. Needs Xvfb, openbox, xdotool and wmctrl.
set -uo pipefail

usage() { sed -n '4,13s/^# \{0,1\}//p' "${BASH_SOURCE[0]}"; }

use_wm=true
wrap=""
level=""
out=""
display=57
seed=$$
while [ $# -gt 0 ]; do
    case $1 in
    --no-wm) use_wm=false ;;
    --wrap) wrap=$2; shift ;;
    --level) level=$2; shift ;;
    --out) out=$2; shift ;;
    --display) display=$2; shift ;;
    --seed) seed=$2; shift ;;
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

pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
}
trap cleanup EXIT

# A display of our own: the first number from $display on without a lock file.
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=":$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
if $use_wm; then
    openbox >"$out/openbox.log" 2>&1 &
    pids+=($!)
    sleep 1
fi

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

main_window() { xdotool search --onlyvisible --name "Orbalon Map Editor" 2>/dev/null | head -1; }

# Asks the editor to quit the way the run chose; a dialog in the way (recovery, "save
# changes?") gets Escape or "No" first when the main window does not go.
quit() {
    local how=$1 pid=$2 window
    window=$(main_window)
    case $how in
    altf4) xdotool key --clearmodifiers alt+F4 ;;
    wmctrl) [ -n "$window" ] && wmctrl -i -c "$window" ;;
    menu)
        [ -n "$window" ] && xdotool windowfocus --sync "$window" 2>/dev/null
        xdotool key --clearmodifiers alt+f
        sleep 0.2
        xdotool key x
        ;;
    sigterm | early) kill -TERM "$pid" 2>/dev/null ;;
    esac
}

settle_quit() {
    local pid=$1 how=$2 tries
    for tries in $(seq 40); do
        alive "$pid" || return 0
        sleep 0.25
        case $tries in
        8 | 16) xdotool key Escape ;;
        12 | 20) xdotool key n ;;
        10 | 18 | 24) quit "$how" "$pid" ;;
        30) kill -TERM "$pid" 2>/dev/null; echo "needed SIGTERM" >>"$run/notes" ;;
        esac
    done
    alive "$pid" && { kill -KILL "$pid" 2>/dev/null; echo "hung" >>"$run/notes"; }
}

starts=(none level recovery level+recovery)
quits=(altf4 wmctrl menu sigterm early)
$use_wm || quits=(menu sigterm early)
[ -n "$level" ] || starts=(none recovery)

failed=0
printf 'run start quit delay_ms status notes\n' >"$out/runs.txt"
for i in $(seq "$count"); do
    run=$out/run$i
    mkdir -p "$run"/{home,config,data,cache,runtime}
    chmod 700 "$run/runtime"
    start=${starts[RANDOM % ${#starts[@]}]}
    how=${quits[RANDOM % ${#quits[@]}]}
    delay=$((RANDOM % 2 == 0 ? 0 : $(random_ms 2000)))
    args=()
    case $start in *level*) args+=("$level") ;; esac
    case $start in *recovery*) leave_recovery "$run/data" ;; esac
    : >"$run/notes"
    (
        cd "$run" || exit 99
        ulimit -c unlimited
        export HOME=$run/home XDG_CONFIG_HOME=$run/config XDG_DATA_HOME=$run/data \
            XDG_CACHE_HOME=$run/cache XDG_RUNTIME_DIR=$run/runtime
        # shellcheck disable=SC2086 # the wrapper is a command line
        exec $wrap "$krav" "${args[@]}" >"$run/stdout" 2>"$run/stderr"
    ) &
    pid=$!
    if [ "$how" = early ]; then
        sleep_ms "$(random_ms 1500)"
    else
        timeout 60 xdotool search --sync --onlyvisible --name "Orbalon Map Editor" >/dev/null 2>&1 ||
            echo "no window" >>"$run/notes"
        sleep_ms "$delay"
    fi
    quit "$how" "$pid"
    settle_quit "$pid" "$how"
    wait "$pid"
    status=$?
    notes=$(paste -sd, "$run/notes")
    bad=false
    case $how:$status in
    early:143 | sigterm:143 | *:0) ;;
    *) bad=true ;;
    esac
    grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:|Aborted|terminate called|ASSERT|FATAL|Invalid (read|write)|definitely lost' \
        "$run/stderr" && bad=true
    case $notes in *hung*) bad=true ;; esac
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
