#!/usr/bin/env bash
# Builds every libFuzzer target with clang and runs each for a short while.
# Usage: scripts/fuzz-smoke.sh [build-folder] (default build-fuzz); FUZZ_SECONDS sets the time per target.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build-fuzz}"
seconds="${FUZZ_SECONDS:-20}"

CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVI_FUZZ=ON -DORVI_BUILD_GUI=OFF >/dev/null

# Every fuzz target is an executable named fuzz_* defined under fuzz/.
mapfile -t targets < <(sed -n 's/^orvi_add_fuzzer(\(fuzz_[A-Za-z0-9_]*\).*/\1/p' "$here/fuzz/CMakeLists.txt")
[ "${#targets[@]}" -gt 0 ] || { echo "no fuzz targets found" >&2; exit 1; }
cmake --build "$build" -j 2 --target "${targets[@]}"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
status=0
for target in "${targets[@]}"; do
    corpus="$build/fuzz-corpus/$target"
    mkdir -p "$corpus"
    log="$build/fuzz-corpus/$target.log"
    dict=()
    [ -f "$here/fuzz/$target.dict" ] && dict=(-dict="$here/fuzz/$target.dict")
    if "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 "${dict[@]}" "$corpus" >"$log" 2>&1; then
        runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
        echo "$target: clean, ${runs:-?} runs in ${seconds} s"
    else
        echo "$target: FAILED (see $log)"
        tail -n 30 "$log"
        status=1
    fi
done
exit "$status"
