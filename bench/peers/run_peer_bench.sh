#!/usr/bin/env bash
# Quillon beside a peer reader (Dillo, a small desktop browser with an engine of
# its own) on the benchmark documents: each program opens the same file in a
# window on a private display and is timed from its start until it goes idle
# (time_until_idle.py). Runs are interleaved so both meet the same machine; the
# best of each and their ratio are printed.
#
# Usage: bash bench/peers/run_peer_bench.sh [build-dir] [FILE...]
# Without files: the prose and table pages bench_render writes, and a large
# real page from /usr/share/doc when one is installed.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${1:-$root/build-release}"
shift || true
runs="${BENCH_RUNS:-5}"
quillon="$build/app/quillon"
[[ -x $quillon ]] || quillon="$(find "$build" -name quillon -type f -perm -u+x | head -1)"
[[ -x $quillon ]] || { echo "no quillon program in $build" >&2; exit 2; }

need=()
command -v dillo >/dev/null || need+=(dillo)
command -v Xvfb >/dev/null || need+=(xvfb)
if ((${#need[@]})); then
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

tmp=$(mktemp -d)
cleanup() {
  [[ -n ${xvfb_pid:-} ]] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

files=("$@")
if ((${#files[@]} == 0)); then
  export TMPDIR="$tmp"
  "$build/bench/render/bench_render" "prose document" "table document" >/dev/null
  files=("$tmp/quillon-bench-prose.htm" "$tmp/quillon-bench-table.htm")
  real=/usr/share/doc/openjdk-17-jre-headless/api/java.base/java/lang/class-use/Object.html
  [[ -f $real ]] && files+=("$real")
  [[ -f /usr/share/doc/nodejs/api/all.html ]] && files+=(/usr/share/doc/nodejs/api/all.html)
fi

# A display of our own, so no window reaches a person's screen.
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
export DISPLAY="$display"
# Quillon with a program folder of its own: no settings or running copy of a person's.
export QUILLON_PROGRAM_DIR="$tmp/quillon-program"
mkdir -p "$QUILLON_PROGRAM_DIR"
export HOME="$tmp/home"
mkdir -p "$HOME"

idle() { python3 "$here/time_until_idle.py" -- "$@" | cut -d' ' -f1; }
best() { sort -g | head -1; }

printf '%-40s %9s %9s %7s\n' "document" "quillon s" "dillo s" "ratio"
for file in "${files[@]}"; do
  ours=() theirs=()
  for ((i = 0; i < runs; i++)); do
    ours+=("$(idle "$quillon" "$file")")
    theirs+=("$(idle dillo "$file")")
  done
  q=$(printf '%s\n' "${ours[@]}" | best)
  d=$(printf '%s\n' "${theirs[@]}" | best)
  printf '%-40s %9s %9s %7.2f\n' "$(basename "$file") ($(($(stat -c %s "$file") / 1024)) KB)" "$q" "$d" \
    "$(echo "$q / $d" | bc -l)"
done
