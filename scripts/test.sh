#!/usr/bin/env bash
# Builds KRAV and runs every test. Installs what it needs on a Debian machine.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build-common.sh"
krav_build
cd "$KRAV_BUILD"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
