#!/usr/bin/env bash
# Prepares the program folder the run command starts the reader with: set up
# as a publisher would ship the bundled sample/ collection for a person's own
# use. Its access file offers every command, and its settings point the search
# page at the collection. Settings already there are kept (they are the
# reader's own). Prints the folder.
#
#   scripts/sample-folder.sh BUILD_DIR
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:?build folder}"
mkdir -p "$build/sample-reader"
folder="$(cd "$build/sample-reader" && pwd)"
cp -f "$root/sample/KOVRAMSG.HTM" "$root/sample/KOVRAJ.GIF" "$folder/"
cat > "$folder/QLACCESS.INI" <<INI
[Advance]
ALL_Enabled=1
INI
if [[ ! -e "$folder/KOVRA32.INI" ]]; then
    cat > "$folder/KOVRA32.INI" <<INI
[KOVRA]
Directory=$root/sample/
FileType=*.htm
IncludeSub=1
[SrhPath]
Sample collection=$root/sample/
INI
fi
echo "$folder"
