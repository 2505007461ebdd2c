#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (missing packages only), builds, and opens the
# bundled sample collection.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
build="${QUILLON_BUILD_DIR:-$root/build}"
if [[ -x "$build/app/quillon" ]]; then
  QUILLON_PROGRAM_DIR="$(bash "$root/scripts/sample-folder.sh" "$build")"
  export QUILLON_PROGRAM_DIR
  exec "$build/app/quillon" "$root/sample/index.htm"
fi
echo "The desktop program is not built yet; searching the sample collection with kovra instead."
if [[ -x "$build/tools/kovra/kovra" ]]; then
  exec "$build/tools/kovra/kovra" --print --dir "$root/sample" --mask "*.htm" collection
fi
echo "Nothing to start yet: the build has no programs."
