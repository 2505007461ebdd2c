#!/usr/bin/env bash
# Prints pages to PDF with two builds of quillon-render and compares them
# page for page (the page count, and each page's text through pdftotext), so
# a change to the page-break pass or to printing can show it moved no break.
#
#   bench/viewer/compare_pdfs.sh OLD_RENDER NEW_RENDER [PAGE_LIST]
#
# PAGE_LIST (one path a line) defaults to the HTML pages of sample/ and a few
# long pages under /usr/share/doc. Either render may be "-" to reuse the
# results kept in $PDF_DIR from an earlier run. Prints each page that
# differs and a count; exits 1 when any differ.
set -uo pipefail
old="${1:?old quillon-render}"; new="${2:?new quillon-render}"; list="${3:-}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
out="${PDF_DIR:-$(mktemp -d)}"
mkdir -p "$out/old" "$out/new"
if [[ -z "$list" ]]; then
    list="$out/pages.txt"
    {
        find "$root/sample" -maxdepth 1 -type f \( -iname '*.htm' -o -iname '*.html' \) | sort
        for big in /usr/share/doc/nodejs/api/all.html /usr/share/doc/nodejs/api/fs.html \
                   /usr/share/doc/nodejs/api/http.html /usr/share/doc/nodejs/api/crypto.html; do
            [[ -f "$big" ]] && echo "$big"
        done
    } > "$list"
fi
export QT_QPA_PLATFORM=offscreen
# One text file per printed document: the render's page count, then each
# page's text after a form feed (pdftotext ends every page with one).
print() {
    local render="$1" page="$2" dest="$3"
    timeout 600 "$render" "$page" --pdf "$dest.pdf" 2>&1 | sed 's/ printed to .*//' > "$dest.txt"
    [[ -f "$dest.pdf" ]] && pdftotext -layout "$dest.pdf" - >> "$dest.txt" 2>&1
    rm -f "$dest.pdf"
}
n=0; differ=0
while IFS= read -r page; do
    [[ -z "$page" ]] && continue
    n=$((n + 1)); id=$(printf '%04d' "$n")
    [[ "$old" != "-" ]] && print "$old" "$page" "$out/old/$id"
    [[ "$new" != "-" ]] && print "$new" "$page" "$out/new/$id"
    if ! cmp -s "$out/old/$id.txt" "$out/new/$id.txt"; then
        differ=$((differ + 1)); echo "DIFFERS $id $page"
    fi
done < "$list"
echo "$differ of $n printed pages differ (texts in $out)"
[[ $differ -eq 0 ]]
