#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds Orvi and runs every test on a private session bus; then
# the same suite under AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of every
# fuzz target.
# Usage: scripts/test.sh [--quick] [build-folder]
#   --quick  only the plain build and its tests.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"

quick=0
if [ "${1:-}" = "--quick" ]; then
    quick=1
    shift
fi
build="${1:-$here/build}"

bash "$here/scripts/setup.sh"

export QT_QPA_PLATFORM=offscreen
# Qt keeps some caches until exit that the leak checker reports; they are not ours to mend.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

build_and_test() { # folder, extra cmake arguments..., then ctest arguments after "--"
    local folder="$1"
    shift
    local cmake_args=()
    while [ "$#" -gt 0 ] && [ "$1" != "--" ]; do
        cmake_args+=("$1")
        shift
    done
    [ "${1:-}" = "--" ] && shift
    cmake -S "$here" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cmake_args[@]}"
    cmake --build "$folder" -j "$(nproc)"
    (cd "$folder" && dbus-run-session -- ctest --output-on-failure -j "$(nproc)" "$@")
}

echo "== Build and tests"
build_and_test "$build"
[ "$quick" = 1 ] && exit 0

echo "== Sanitizer build and tests"
build_and_test "$build-asan" -DORVI_SANITIZE=ON

echo "== Fuzz smoke run"
FUZZ_SECONDS="${FUZZ_SECONDS:-15}" bash "$here/scripts/fuzz-smoke.sh" "$build-fuzz"
