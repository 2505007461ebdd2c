#!/usr/bin/env bash
# Whether two builds of kovra write the same results pages with passages:
# several words in every search mode over one tree, compared byte for byte.
# For changes meant to make the passages cheaper without changing any.
#
# Usage: bash bench/search/compare_context_pages.sh OLD-KOVRA NEW-KOVRA [dir]
# The directory defaults to /usr/share/doc.
set -uo pipefail
old="$1" new="$2" dir="${3:-/usr/share/doc}"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export QUILLON_PROGRAM_DIR="$tmp" # no settings file of a person's copy

modes=("--any" "--all" "--phrase" "--case" "--whole-word" "--meta-only" "--no-convert" "--whole-word --case"
  "--context 1" "--context 9")
words=("function" "License" "GNU General" "café" "<b>" "return value")
differ=0 compared=0
for mode in "${modes[@]}"; do
  for word in "${words[@]}"; do
    # shellcheck disable=SC2086 # a mode may be two options
    "$old" --output "$tmp/old.htm" --dir "$dir" --mask '*' --size 0 --age 0 --sort walk $mode -- $word \
      >/dev/null 2>&1
    # shellcheck disable=SC2086
    "$new" --output "$tmp/new.htm" --dir "$dir" --mask '*' --size 0 --age 0 --sort walk $mode -- $word \
      >/dev/null 2>&1
    compared=$((compared + 1))
    if ! cmp -s "$tmp/old.htm" "$tmp/new.htm"; then
      differ=$((differ + 1))
      echo "differs: $mode $word"
    fi
  done
done
echo "$compared pages compared, $differ differ"
[[ $differ -eq 0 ]]
