#!/usr/bin/env bash
# Installs the build into a fresh prefix whose path holds spaces, then checks
# that the installed programs start from there, that the program folder has
# its own files, and that the desktop entry, AppStream data and man pages are
# valid where the validators are installed.
set -euo pipefail
build="$1"; version="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/pre fix"
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
for program in quillon kovra quillon-render; do
    [[ -L "$prefix/bin/$program" ]] || fail "$prefix/bin/$program is not a link"
    [[ -x "$prefix/lib/quillon/$program" ]] || fail "no $program in the program folder"
    got="$(QT_QPA_PLATFORM=offscreen "$prefix/bin/$program" --version)"
    [[ "$got" == "$program $version" ]] || fail "$program --version said '$got'"
done
help="$("$prefix/bin/quillon" --help)"
[[ "$help" == Usage:\ quillon* ]] || fail "quillon --help said '$help'"
for file in KOVRAMSG.HTM KOVRAJ.GIF; do
    [[ -f "$prefix/lib/quillon/$file" ]] || fail "no $file in the program folder"
done
share="$prefix/share"
for icon in scalable/apps/quillon.svg 48x48/apps/quillon.png 128x128/apps/quillon.png; do
    [[ -s "$share/icons/hicolor/$icon" ]] || fail "no icon $icon"
done
desktop="$share/applications/org.quillon.reader.desktop"
metainfo="$share/metainfo/org.quillon.reader.metainfo.xml"
[[ -f "$desktop" && -f "$metainfo" ]] || fail "desktop entry or metainfo missing"
if command -v desktop-file-validate >/dev/null; then
    out="$(desktop-file-validate "$desktop" 2>&1)"
    [[ -z "$out" ]] || fail "desktop-file-validate: $out"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic "$metainfo" >/dev/null ||
        fail "appstreamcli validate: $(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1)"
fi
for page in quillon kovra quillon-render; do
    man1="$share/man/man1/$page.1"
    [[ -f "$man1" ]] || fail "no man page $page.1"
    if command -v man >/dev/null; then
        text="$(MANWIDTH=80 LC_ALL=C.UTF-8 man -l "$man1" 2>&1)"
        grep -q "^NAME" <<<"$text" || fail "man -l $page.1 rendered no NAME section"
    fi
done
echo "installed and started from '$prefix'"
