#!/usr/bin/env bash
# The whole suite again, built with the address and undefined-behaviour
# sanitizers into build-sanitize/ (benchmarks left out), at -O1: unoptimised
# instrumented builder tests take minutes, and -O1 compiles far faster than
# the release build's -O3 while catching the same faults.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
sanitized="${QUILLON_SANITIZE_BUILD_DIR:-$root/build-sanitize}"
QUILLON_BUILD_DIR="$sanitized" bash "$root/scripts/build.sh" -DQUILLON_SANITIZE=ON -DQUILLON_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS=-O1 -DCMAKE_C_FLAGS=-O1 "$@"
export QT_QPA_PLATFORM=offscreen
# Qt and fontconfig keep caches until exit that the leak checker would
# report; memory errors and undefined behaviour still fail the run.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$sanitized" --output-on-failure -j "$(nproc)"
