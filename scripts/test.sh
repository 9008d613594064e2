#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds Orvi and runs every test on a private session bus.
# Usage: scripts/test.sh [build-folder]   (ORVI_SANITIZE=1 for the ASan/UBSan build)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"

bash "$here/scripts/setup.sh"

extra=()
[ "${ORVI_SANITIZE:-0}" = 1 ] && extra+=(-DORVI_SANITIZE=ON)
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}"
cmake --build "$build" -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
# The sanitizer run reports leaks of Qt's own caches; they are not ours to mend.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
cd "$build"
dbus-run-session -- ctest --output-on-failure -j "$(nproc)"
