#!/usr/bin/env bash
# Content-search benchmark: kovra against `LC_ALL=C grep -rilF` (and ripgrep
# single-threaded, when installed) on the same tree of real HTML documentation,
# for a word found in many files and a word found in none. Prints the times, the
# ratio kovra/grep, whether both found the same files, and kovra's peak memory
# on the full corpus and on half of it.
#
# Usage: bash bench/search/run_bench.sh [build-dir]
# The corpus (>= 100 MB) is built once under bench/corpus/search (git-ignored),
# or under $KOVRA_CORPUS, from Debian's python3.11-doc and postgresql-doc-15.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-${QUILLON_BUILD_DIR:-$root/build}}"
corpus="${KOVRA_CORPUS:-$root/bench/corpus/search}"
runs="${BENCH_RUNS:-5}"
many_word="${BENCH_MANY_WORD:-function}"
none_word="${BENCH_NONE_WORD:-qzxvjkwquillon}"

if [[ ! -x "$build/tools/kovra/kovra" ]]; then
  cmake -S "$root" -B "$build" -G Ninja >/dev/null
  ninja -C "$build" kovra >/dev/null
fi
kovra="$build/tools/kovra/kovra"
# shellcheck source=bench_lib.sh
source "$root/bench/search/bench_lib.sh"

build_corpus() {
  local sources=(/usr/share/doc/python3.11/html /usr/share/doc/postgresql-doc-15/html)
  if [[ ! -d ${sources[0]} || ! -d ${sources[1]} ]]; then
    local sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
      python3.11-doc postgresql-doc-15 >/dev/null
  fi
  rm -rf "$corpus.tmp"
  mkdir -p "$corpus.tmp"
  # Two copies of the Python documentation and one of PostgreSQL's; links are
  # resolved so both tools see the same plain files.
  cp -rL "${sources[0]}" "$corpus.tmp/python-a"
  cp -rL "${sources[0]}" "$corpus.tmp/python-b"
  cp -rL "${sources[1]}" "$corpus.tmp/postgresql"
  tidy_corpus "$corpus.tmp"
  mv "$corpus.tmp" "$corpus"
}
[[ -d $corpus ]] || build_corpus
size_mb=$(du -sm "$corpus" | cut -f1)
files=$(find "$corpus" -type f | wc -l)
echo "corpus: $corpus ($size_mb MB, $files files)"

kovra_search() {
  "$kovra" --print --dir "$corpus" --mask '*' --size 0 --age 0 --no-summary --no-show-size --no-show-date \
    --sort walk --no-convert "$1"
}
kovra_page() {
  "$kovra" --print --output "$tmp/page.htm" --dir "$corpus" --mask '*' --size 0 --age 0 --no-summary \
    --no-show-size --no-show-date --sort walk --no-convert "$1"
}
grep_search() { LC_ALL=C grep -rilF -- "$1" "$corpus"; }
rg_search() { rg -j1 -l -i -F -uuu -- "$1" "$corpus"; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cat "$corpus"/*/*/* "$corpus"/*/* >/dev/null 2>&1 || true # warm the page cache
grep -rlF -- "$many_word" "$corpus" >/dev/null || true

status=0
for word in "$many_word" "$none_word"; do
  g=$(best_ms "$tmp/grep.txt" grep_search "$word")
  k=$(best_ms "$tmp/kovra.txt" kovra_search "$word")
  p=$(best_ms "$tmp/page.txt" kovra_page "$word")
  sort "$tmp/grep.txt" >"$tmp/grep.sorted"
  sort "$tmp/kovra.txt" >"$tmp/kovra.sorted"
  sort "$tmp/page.txt" >"$tmp/page.sorted"
  if cmp -s "$tmp/grep.sorted" "$tmp/kovra.sorted" && cmp -s "$tmp/grep.sorted" "$tmp/page.sorted"; then
    same="same $(wc -l <"$tmp/grep.sorted") files"
  else
    same="DIFFERENT lists (grep $(wc -l <"$tmp/grep.sorted"), kovra $(wc -l <"$tmp/kovra.sorted"))"
    status=1
  fi
  line=$(printf '%-16s grep %5d ms  kovra %5d ms  ratio %.2f  kovra+page %5d ms  ratio %.2f' "\"$word\"" \
    "$g" "$k" "$(awk -v a="$k" -v b="$g" 'BEGIN{print a/b}')" "$p" "$(awk -v a="$p" -v b="$g" 'BEGIN{print a/b}')")
  if command -v rg >/dev/null; then
    r=$(best_ms "$tmp/rg.txt" rg_search "$word")
    line+=$(printf '  rg -j1 %5d ms' "$r")
  fi
  echo "$line  ($same)"
done

peak_kb() { { /usr/bin/time -f %M "$@" 2>&1 >/dev/null || true; } | tail -1; }
if [[ -x /usr/bin/time ]]; then
  full=$(peak_kb "$kovra" --print --dir "$corpus" --mask '*' --size 0 --no-summary --no-convert "$none_word")
  half=$(peak_kb "$kovra" --print --dir "$corpus/postgresql" --mask '*' --size 0 --no-summary --no-convert \
    "$none_word")
  echo "kovra peak memory: ${full} KB on the whole corpus, ${half} KB on the PostgreSQL part"
fi
exit $status
