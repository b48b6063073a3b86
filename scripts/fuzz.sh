#!/usr/bin/env bash
# Fuzzes the level reader, the tile set loader, the Tiled map import and the tile set picture
# import with libFuzzer, as many targets at once as there are cores (KRAV_FUZZ_JOBS to change).
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]   (default 600 seconds per target, every target)
#
# Targets: level_reader_fuzzer tileset_fuzzer tmx_fuzzer tileset_picture_fuzzer.
# Builds them with clang-14 in build-fuzz/ (installing clang-14 and libclang-rt-14-dev when they
# are missing), writes the seed corpus to build-fuzz/corpus/, keeps what the fuzzers learn in
# build-fuzz/learned/ for the next run, and prints each target's figures. Crash inputs go to
# build-fuzz/crashes/; the script then exits with 1. Reproduce one with: build-fuzz/TARGET FILE
# (for the level reader, KRAV_FUZZ_FULL_CHECK=1 adds the checks a level input otherwise gets
# only one time in 1024). Keep what was fixed in tests/fuzz-regressions/ (tmx/ and picture/ for
# those targets), whose tests replay it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build-common.sh"

seconds=${1:-600}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
    sed -n '4,6s/^# \{0,1\}//p' "${BASH_SOURCE[0]}" >&2
    exit 2
fi
shift || true

# target:seeds:options. The picture target's malloc limit fails any decoding of a picture much
# larger than a tile set's.
fuzz_dir="$KRAV_ROOT/fuzz"
all=(
    "level_reader_fuzzer:level:"
    "tileset_fuzzer:tileset:"
    "tmx_fuzzer:tmx:-dict=$fuzz_dir/tmx.dict -max_len=16384"
    "tileset_picture_fuzzer:picture:-dict=$fuzz_dir/picture.dict -max_len=32768 -malloc_limit_mb=128"
)
targets=()
if [ $# -eq 0 ]; then
    targets=("${all[@]}")
else
    for name in "$@"; do
        found=
        for entry in "${all[@]}"; do
            [ "${entry%%:*}" = "$name" ] && found=$entry
        done
        if [ -z "$found" ]; then
            echo "No fuzz target $name; there are: ${all[*]%%:*}" >&2
            exit 2
        fi
        targets+=("$found")
    done
fi

krav_install_packages clang-14 libclang-rt-14-dev cmake ninja-build qt6-base-dev zlib1g-dev
fuzz_build="$KRAV_ROOT/build-fuzz"
cmake -S "$fuzz_dir" -B "$fuzz_build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$fuzz_build" -j "$(nproc)"
"$fuzz_build/krav_fuzz_corpus" "$fuzz_build/corpus"
"$fuzz_build/krav_fuzz_interop_corpus" "$fuzz_build/corpus"

mkdir -p "$fuzz_build/crashes" "$fuzz_build/logs"
jobs_at_once=${KRAV_FUZZ_JOBS:-$(nproc)}
for entry in "${targets[@]}"; do
    IFS=: read -r target seeds options <<<"$entry"
    while [ "$(jobs -rp | wc -l)" -ge "$jobs_at_once" ]; do
        wait -n || true
    done
    mkdir -p "$fuzz_build/learned/$seeds"
    echo "Fuzzing $target for $seconds s"
    # The first folder receives new inputs; the seeds are only read. The exit status goes to a
    # file: wait -n above may already have collected it.
    (
        status=0
        # shellcheck disable=SC2086 # options are words
        "$fuzz_build/$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
            -rss_limit_mb=2048 -artifact_prefix="$fuzz_build/crashes/$target-" $options \
            "$fuzz_build/learned/$seeds" "$fuzz_build/corpus/$seeds" \
            >"$fuzz_build/logs/$target.log" 2>&1 || status=$?
        echo "$status" >"$fuzz_build/logs/$target.status"
    ) &
done
wait

failed=0
for entry in "${targets[@]}"; do
    target=${entry%%:*}
    log="$fuzz_build/logs/$target.log"
    status=$(cat "$fuzz_build/logs/$target.status")
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
