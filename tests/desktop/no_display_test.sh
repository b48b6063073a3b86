#!/usr/bin/env bash
# Without a usable display the editor ends with status 1 and Qt's reason, as with any other
# start-up failure, instead of aborting with a core dump.
source "$(dirname "$0")/lib.sh"

# A display number nobody serves: the socket of a free one is absent.
display=
for n in $(seq 900 999); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || {
        display=:$n
        break
    }
done
[ -n "$display" ] || fail "no free display number to point the editor at"
step "starting the editor on $display, where no X server runs"
status=0
(cd "$OUT_DIR" && DISPLAY=$display QT_QPA_PLATFORM=xcb exec "$KRAV") >"$OUT_DIR/krav.out" 2>"$OUT_DIR/krav.err" || status=$?
[ "$status" -eq 1 ] || record_failure "krav ended with status $status, expected 1"
grep -q "could not connect to display" "$OUT_DIR/krav.err" || record_failure "stderr does not give the reason: $(head -c 300 "$OUT_DIR/krav.err")"
finish
