#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (missing packages only), builds the whole
# tree with the address and undefined-behaviour sanitizers into build-sanitize/
# and runs every test there, so a memory error or undefined behaviour fails the
# test that meets it. -O1: unoptimised instrumented builder tests take minutes,
# and -O1 compiles far faster than the release build's -O3. Extra arguments go
# to cmake.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
build="${QUILLON_TEST_BUILD_DIR:-$root/build-sanitize}"
QUILLON_BUILD_DIR="$build" bash "$root/scripts/build.sh" -DQUILLON_SANITIZE=ON \
    -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS=-O1 -DCMAKE_C_FLAGS=-O1 "$@"
export QT_QPA_PLATFORM=offscreen
# Qt and fontconfig keep caches until exit that the leak checker would
# report; memory errors and undefined behaviour still fail the run.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
