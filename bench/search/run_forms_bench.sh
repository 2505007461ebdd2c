#!/usr/bin/env bash
# Benchmark of a word with a letter outside ASCII, sought in every form a page
# may store it in (entity names, decimal and hexadecimal references, UTF-8 and
# Windows-1252 bytes, both letter cases): kovra, which seeks all forms in one
# pass, against ripgrep single-threaded given every form as an -e pattern. Prints
# the times, the ratio kovra/ripgrep and whether both found the same files.
#
# ripgrep refuses bytes that are not UTF-8 in a pattern given with -F, so two
# runs of it are timed: `rg -l -i -F -j1` with every form that is UTF-8 (all but
# the Windows-1252 bytes), and `rg -l -i -j1` with every form as a literal regex
# pattern and the Windows-1252 bytes as (?-u:\xNN) escapes. The file lists are
# compared with the second, which looks for the same forms as kovra.
#
# Usage: bash bench/search/run_forms_bench.sh [build-dir]
# The corpus (about 255 MB of documentation: /usr/share/doc with Debian's Python,
# PostgreSQL and Git documentation, the Perl manual pages and a second copy of
# the Python library reference) is built once under bench/corpus/forms
# (git-ignored), or under $KOVRA_FORMS_CORPUS.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-${QUILLON_BUILD_DIR:-$root/build}}"
corpus="${KOVRA_FORMS_CORPUS:-$root/bench/corpus/forms}"
runs="${BENCH_RUNS:-5}"
# A name the Python documentation writes in UTF-8 and others write otherwise.
word="${BENCH_FORMS_WORD:-Löwis}"

if [[ ! -x "$build/tools/kovra/kovra" ]]; then
  cmake -S "$root" -B "$build" -G Ninja >/dev/null
  ninja -C "$build" kovra >/dev/null
fi
kovra="$build/tools/kovra/kovra"
# shellcheck source=bench_lib.sh
source "$root/bench/search/bench_lib.sh"
command -v rg >/dev/null || { echo "ripgrep (rg) is needed: apt-get install ripgrep" >&2; exit 2; }

build_corpus() {
  local packages=(python3.11-doc postgresql-doc-15 git-doc perl-doc)
  local missing=()
  for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  if ((${#missing[@]})); then
    local sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
      "${missing[@]}" >/dev/null
  fi
  rm -rf "$corpus.tmp"
  mkdir -p "$corpus.tmp"
  cp -a /usr/share/doc "$corpus.tmp/doc"
  local pods=(/usr/share/perl/*/pod)
  cp -rL "${pods[0]}" "$corpus.tmp/perl-pod"
  cp -a /usr/share/doc/python3.11/html/library "$corpus.tmp/python-library"
  # Links are dropped so both tools see the same plain files once.
  find "$corpus.tmp" -type l -delete
  tidy_corpus "$corpus.tmp"
  mv "$corpus.tmp" "$corpus"
}
[[ -d $corpus ]] || build_corpus
size_mb=$(du -sm --apparent-size "$corpus" | cut -f1)
files=$(find "$corpus" -type f | wc -l)
echo "corpus: $corpus ($size_mb MB, $files files)"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Every form of the word, one ripgrep pattern a line: $tmp/utf8.pats for -F (the
# forms that are UTF-8) and $tmp/all.pats as literal regex patterns with the
# Windows-1252 bytes escaped. The word's characters outside ASCII are taken in
# both cases; a word with several of them gets every combination of forms.
python3 - "$word" "$tmp" <<'EOF'
import html.entities, itertools, re, sys
word, out = sys.argv[1], sys.argv[2]
def forms(c):
    """(utf8 form or None, regex form) pairs of one character."""
    if ord(c) < 0x80:
        return [(c, re.escape(c))]
    result = []
    for v in sorted({c, c.lower(), c.upper()}):
        if len(v) != 1:
            continue
        cp = ord(v)
        texts = ["&#%d;" % cp, "&#x%x;" % cp, v]
        name = html.entities.codepoint2name.get(cp)
        if name:
            texts.append("&%s;" % name)
        result += [(t, re.escape(t)) for t in texts]
        try:
            b = v.encode("cp1252")
            result.append((None, "(?-u:%s)" % "".join("\\x%02X" % x for x in b)))
        except UnicodeEncodeError:
            pass
    return result
utf8, every = [], []
for combo in itertools.product(*(forms(c) for c in word)):
    every.append("".join(r for _, r in combo))
    if all(t is not None for t, _ in combo):
        utf8.append("".join(t for t, _ in combo))
open(out + "/utf8.pats", "w", encoding="utf-8").write("".join(p + "\n" for p in utf8))
open(out + "/all.pats", "w", encoding="utf-8").write("".join(p + "\n" for p in every))
EOF
mapfile -t utf8_patterns <"$tmp/utf8.pats"
mapfile -t all_patterns <"$tmp/all.pats"
rg_fixed_args=() rg_regex_args=()
for p in "${utf8_patterns[@]}"; do rg_fixed_args+=(-e "$p"); done
for p in "${all_patterns[@]}"; do rg_regex_args+=(-e "$p"); done

kovra_search() {
  "$kovra" --print --dir "$corpus" --mask '*' --size 0 --age 0 --no-summary --no-show-size --no-show-date \
    --sort walk --convert "$word"
}
rg_fixed() { rg -l -i -F -j1 -uuu "${rg_fixed_args[@]}" "$corpus"; }
rg_regex() { rg -l -i -j1 -uuu "${rg_regex_args[@]}" "$corpus"; }

cat "$corpus"/*/*/* >/dev/null 2>&1 || true # warm the page cache
rg_regex >/dev/null 2>&1 || true

echo "word: $word; ${#all_patterns[@]} forms (${#utf8_patterns[@]} of them UTF-8)"
f=$(best_ms "$tmp/rgf.txt" rg_fixed)
r=$(best_ms "$tmp/rgr.txt" rg_regex)
k=$(best_ms "$tmp/kovra.txt" kovra_search)
for list in rgf rgr kovra; do sort "$tmp/$list.txt" >"$tmp/$list.sorted"; done
status=0
if cmp -s "$tmp/rgr.sorted" "$tmp/kovra.sorted"; then
  same="same $(wc -l <"$tmp/kovra.sorted") files"
else
  same="DIFFERENT lists (rg $(wc -l <"$tmp/rgr.sorted"), kovra $(wc -l <"$tmp/kovra.sorted"))"
  diff "$tmp/rgr.sorted" "$tmp/kovra.sorted" | head -10 >&2 || true
  status=1
fi
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", a/b}'; }
printf 'kovra %5d ms   rg -F (UTF-8 forms) %5d ms  ratio %s   rg (all forms) %5d ms  ratio %s   (%s; rg -F found %d)\n' \
  "$k" "$f" "$(ratio "$k" "$f")" "$r" "$(ratio "$k" "$r")" "$same" "$(wc -l <"$tmp/rgf.sorted")"
exit $status
