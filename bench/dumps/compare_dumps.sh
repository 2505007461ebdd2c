#!/usr/bin/env bash
# Compares the fixed-metrics box-tree dumps of many pages between two builds
# of quillon-render, so a layout change can show that pages which use none of
# its features lay out exactly as before.
#
#   bench/dumps/compare_dumps.sh OLD_RENDER NEW_RENDER [PAGE_LIST]
#
# PAGE_LIST (one path a line) defaults to every page of sample/, the test
# data and the first 200 HTML pages under /usr/share/doc. Prints each page
# whose dump differs (or whose run failed differently) and a count; exits 1
# when any differ. Dumps are kept in $DUMP_DIR (default: a fresh temporary
# folder) as old/NNNN.txt and new/NNNN.txt for a closer look.
set -uo pipefail
old="${1:?old quillon-render}"; new="${2:?new quillon-render}"; list="${3:-}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
out="${DUMP_DIR:-$(mktemp -d)}"
mkdir -p "$out/old" "$out/new"
if [[ -z "$list" ]]; then
    list="$out/pages.txt"
    {
        find "$root/sample" "$root/tests" -type f \( -iname '*.htm' -o -iname '*.html' \) | sort
        find /usr/share/doc -type f \( -iname '*.htm' -o -iname '*.html' \) 2>/dev/null | sort | head -200
    } > "$list"
fi
export QT_QPA_PLATFORM=offscreen
dump() { timeout 60 "$1" "$2" --dump --fixed-metrics --width 800 2>&1; echo "exit $?"; }
n=0; differ=0
while IFS= read -r page; do
    [[ -z "$page" ]] && continue
    n=$((n + 1)); id=$(printf '%04d' "$n")
    dump "$old" "$page" > "$out/old/$id.txt"
    dump "$new" "$page" > "$out/new/$id.txt"
    if ! cmp -s "$out/old/$id.txt" "$out/new/$id.txt"; then
        differ=$((differ + 1)); echo "DIFFERS $id $page"
    fi
done < "$list"
echo "$differ of $n pages differ (dumps in $out)"
[[ $differ -eq 0 ]]
