#!/usr/bin/env bash
# Builds KRAV and runs every test. Installs what it needs on a Debian machine.
#
#   scripts/test.sh [--sanitize] [CTEST_ARGS...]
#
# --sanitize builds in build-sanitize/ with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer, and any report they make fails its test. Other arguments go
# to ctest, e.g. `scripts/test.sh -R Saving` or `scripts/test.sh -L desktop`.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build-common.sh"

usage() { sed -n '4,8s/^# \{0,1\}//p' "${BASH_SOURCE[0]}"; }

sanitize=false
ctest_args=()
while [ $# -gt 0 ]; do
    case $1 in
    --sanitize) sanitize=true ;;
    -h | --help) usage; exit 0 ;;
    --) shift; ctest_args+=("$@"); break ;;
    *) ctest_args+=("$1") ;;
    esac
    shift
done

if $sanitize; then
    build="$KRAV_ROOT/build-sanitize"
    flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
    # Exported before building too: test discovery runs the test programs at build time.
    # A report exits with 86, which no program of ours uses, so that a test expecting
    # krav-lvl to fail cannot mistake a report for the failure it expects.
    export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:exitcode=86:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=86"
    export LSAN_OPTIONS="suppressions=$KRAV_ROOT/scripts/lsan.supp:print_suppressions=0"
    krav_build_in "$build" -DKRAV_BUILD_BENCH=OFF \
        -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" \
        -DCMAKE_SHARED_LINKER_FLAGS="$flags" -DCMAKE_MODULE_LINKER_FLAGS="$flags"
else
    build="$KRAV_BUILD"
    krav_build
fi
# tiled brings tmxrasterizer: the exported maps are checked in Tiled itself; clang-format
# checks the sources keep the project's format.
krav_install_packages "${KRAV_DESKTOP_PACKAGES[@]}" tiled clang-format
cd "$build"
# The desktop tests (label "desktop") start their own X display and choose xcb themselves.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" "${ctest_args[@]}"
