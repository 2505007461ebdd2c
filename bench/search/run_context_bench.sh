#!/usr/bin/env bash
# What passages of context cost: kovra writing the results page with passages
# (--context 3) and without (--no-context), runs interleaved so both meet the
# same machine, for a word found in many files. Prints the best wall and CPU
# time of each and their ratios.
#
# Usage: bash bench/search/run_context_bench.sh [build-dir] [corpus-dir]
# The corpus defaults to $KOVRA_CORPUS, else the one run_bench.sh builds, else
# /usr/share/doc.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-${QUILLON_BUILD_DIR:-$root/build}}"
corpus="${2:-${KOVRA_CORPUS:-$root/bench/corpus/search}}"
[[ -d $corpus ]] || corpus=/usr/share/doc
runs="${BENCH_RUNS:-5}"
word="${BENCH_MANY_WORD:-function}"
kovra="$build/tools/kovra/kovra"
[[ -x $kovra ]] || { echo "no kovra in $build (build the kovra target first)" >&2; exit 2; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export QUILLON_PROGRAM_DIR="$tmp" # no settings file of a person's copy

page() {
  "$kovra" --output "$tmp/page.htm" --dir "$corpus" --mask '*' --size 0 --age 0 --sort walk "$@" "$word" \
    >/dev/null 2>&1 || true
}
# Wall and CPU (user + system) milliseconds of one page, "WALL CPU": on a busy
# machine the CPU time says more about the work than the wall time.
ms_of() {
  local t0 t1 cpu
  t0=$(date +%s%N)
  cpu=$( { TIMEFORMAT='%3U %3S'; time page "$@"; } 2>&1 | awk '{printf "%d", ($1 + $2) * 1000}')
  t1=$(date +%s%N)
  echo "$(((t1 - t0) / 1000000)) $cpu"
}
smaller() { [[ -z $1 || $2 -lt $1 ]] && echo "$2" || echo "$1"; }

page --no-context # warm the page cache
best_on= best_off= cpu_on= cpu_off=
for ((i = 0; i < runs; i++)); do
  read -r wall cpu < <(ms_of --no-context)
  best_off=$(smaller "$best_off" "$wall")
  cpu_off=$(smaller "$cpu_off" "$cpu")
  read -r wall cpu < <(ms_of --context 3)
  best_on=$(smaller "$best_on" "$wall")
  cpu_on=$(smaller "$cpu_on" "$cpu")
done
files=$(grep -c '<BR><dl>' "$tmp/page.htm" || true)
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", a/b}'; }
printf 'corpus %s, "%s" in %s files: no passages %d ms, passages %d ms, ratio %s; CPU %d ms / %d ms, ratio %s\n' \
  "$corpus" "$word" "$files" "$best_off" "$best_on" "$(ratio "$best_on" "$best_off")" "$cpu_off" "$cpu_on" \
  "$(ratio "$cpu_on" "$cpu_off")"
