#!/usr/bin/env bash
# Builds the benchmarks in a release build (build-release/), runs them with repetitions and
# prints one table: each benchmark's ratio to its baseline (the median over the repetitions),
# the spread of that ratio, its target and whether it is met. Google Benchmark's JSON goes to
# build/bench.json (the release build itself is kept apart from the usual build/).
#
#   scripts/bench.sh [REPETITIONS] [BENCHMARK_ARGS...]
#
# REPETITIONS defaults to 3; other arguments go to krav_bench, e.g.
# --benchmark_filter=paint. Exits 1 when a target is not met.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build-common.sh"

repetitions=3
if [ $# -gt 0 ] && [[ $1 =~ ^[0-9]+$ ]]; then
    repetitions=$1
    shift
fi
build="$KRAV_ROOT/build-release"
json="$KRAV_BUILD/bench.json"

krav_install_packages "${KRAV_PACKAGES[@]}" python3 || exit 1
launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="$KRAV_ROOT"
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$KRAV_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKRAV_BUILD_BENCH=ON \
    "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)" --target krav_bench >/dev/null
mkdir -p "$KRAV_BUILD"
echo "Load average before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
"$build/bench/krav_bench" --benchmark_repetitions="$repetitions" \
    --benchmark_out="$json" --benchmark_out_format=json "$@" >/dev/null
echo "Load average after the run:  $(cut -d' ' -f1-3 /proc/loadavg)"
python3 "$KRAV_ROOT/scripts/bench_table.py" "$json"
