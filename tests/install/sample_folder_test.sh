#!/usr/bin/env bash
# The run command's program folder offers every command and searches the
# bundled collection: a first search for "lantern" with the folder's own
# settings finds the sample's pages, and a second preparation keeps the
# reader's own settings.
set -euo pipefail
root="$1"; kovra="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
folder="$(bash "$root/scripts/sample-folder.sh" "$work")"
grep -qx 'ALL_Enabled=1' "$folder/QLACCESS.INI" || fail "the access file offers not every command"
found="$(QUILLON_PROGRAM_DIR="$folder" "$kovra" --print lantern)"
grep -q "sample/lantern.htm" <<<"$found" || fail "no lantern.htm among: $found"
printf '[KOVRA]\nDirectory=/elsewhere/\n' > "$folder/KOVRA32.INI"
bash "$root/scripts/sample-folder.sh" "$work" >/dev/null
grep -q '/elsewhere/' "$folder/KOVRA32.INI" || fail "the reader's own settings were replaced"
echo "lantern found: $(wc -l <<<"$found") file(s)"
