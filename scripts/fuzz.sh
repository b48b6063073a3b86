#!/usr/bin/env bash
# Fuzzes the level reader and the tile set loader with libFuzzer, both at once, one core each.
#
#   scripts/fuzz.sh [SECONDS]     (default 600 seconds per target)
#
# Builds the targets of fuzz/ with clang-14 in build-fuzz/ (installing clang-14 and
# libclang-rt-14-dev when they are missing), writes the seed corpus to build-fuzz/corpus/,
# keeps what the fuzzers learn in build-fuzz/learned/ for the next run, and prints each
# target's figures. Crash inputs go to build-fuzz/crashes/; the script then exits with 1.
# Reproduce one with: build-fuzz/level_reader_fuzzer FILE (KRAV_FUZZ_FULL_CHECK=1 adds the
# checks a level input otherwise gets only one time in 1024).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build-common.sh"

seconds=${1:-600}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
    sed -n '4,4s/^# \{0,1\}//p' "${BASH_SOURCE[0]}" >&2
    exit 2
fi

krav_install_packages clang-14 libclang-rt-14-dev cmake ninja-build
fuzz_build="$KRAV_ROOT/build-fuzz"
cmake -S "$KRAV_ROOT/fuzz" -B "$fuzz_build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$fuzz_build" -j "$(nproc)"
"$fuzz_build/krav_fuzz_corpus" "$fuzz_build/corpus"

targets=(level_reader_fuzzer:level tileset_fuzzer:tileset)
mkdir -p "$fuzz_build/crashes" "$fuzz_build/logs"
pids=()
for entry in "${targets[@]}"; do
    target=${entry%%:*} seeds=${entry#*:}
    mkdir -p "$fuzz_build/learned/$seeds"
    echo "Fuzzing $target for $seconds s"
    # The first folder receives new inputs; the seeds are only read.
    "$fuzz_build/$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
        -rss_limit_mb=2048 -artifact_prefix="$fuzz_build/crashes/$target-" \
        "$fuzz_build/learned/$seeds" "$fuzz_build/corpus/$seeds" >"$fuzz_build/logs/$target.log" 2>&1 &
    pids+=($!)
done

failed=0
for i in "${!targets[@]}"; do
    target=${targets[$i]%%:*}
    log="$fuzz_build/logs/$target.log"
    status=0
    wait "${pids[$i]}" || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    time=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
    coverage=$(grep -o 'cov: [0-9]* ft: [0-9]* corp: [0-9]*/[0-9]*[A-Za-z]*' "$log" | tail -1)
    echo "== $target"
    echo "   executions: ${runs:-?}  exec/s: ${rate:-?}  time: ${time:-?} s  ${coverage:-no coverage line}"
    if [ "$status" -ne 0 ]; then
        failed=1
        echo "   FAILED (exit $status):"
        grep -E '^(==[0-9]+==ERROR|SUMMARY|[a-z_]+_fuzzer: )|Test unit written to' "$log" | sed 's/^/     /'
        echo "   log: $log"
    fi
done
exit $failed
