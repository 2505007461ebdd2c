#!/usr/bin/env bash
# What passages of context cost: kovra writing the results page with passages
# (--context 3) and without (--no-context), runs interleaved so both meet the
# same machine, for a word found in many files. Prints the best time of each
# and their ratio.
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
ms_of() {
  local t0 t1
  t0=$(date +%s%N)
  page "$@"
  t1=$(date +%s%N)
  echo $(((t1 - t0) / 1000000))
}

page --no-context # warm the page cache
best_on= best_off=
for ((i = 0; i < runs; i++)); do
  off=$(ms_of --no-context)
  on=$(ms_of --context 3)
  [[ -z $best_off || $off -lt $best_off ]] && best_off=$off
  [[ -z $best_on || $on -lt $best_on ]] && best_on=$on
done
files=$(grep -c '<BR><dl>' "$tmp/page.htm" || true)
printf 'corpus %s, "%s" in %s files: no passages %d ms, passages %d ms, ratio %.2f\n' "$corpus" "$word" "$files" \
  "$best_off" "$best_on" "$(awk -v a="$best_on" -v b="$best_off" 'BEGIN{print a/b}')"
