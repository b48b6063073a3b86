#!/usr/bin/env bash
# Builds KRAV and starts the editor, with the level given (or a new one).
set -euo pipefail
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: there is no display to show the editor on (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
    exit 1
fi
source "$(dirname "${BASH_SOURCE[0]}")/build-common.sh"
# Only the two programs: the tests and benchmarks are test.sh's to build.
KRAV_TARGETS="krav krav-lvl" krav_build
exec "$KRAV_BUILD/src/app/krav" "$@"
