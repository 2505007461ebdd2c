#!/usr/bin/env bash
# Measures what positioned boxes and clipped overflow cost, with a built
# quillon-render:
#  - the layout time of a page of N and of 2N absolutely positioned boxes
#    (it should grow linearly: the ratio well under 2.3);
#  - the time and peak memory of painting, at width 800, a page whose PRE
#    blocks hold 9,000-pixel lines inside overflow: auto (the picture stays
#    800 wide instead of growing to the widest line).
#
#   bench/layout/positioned_and_overflow.sh [QUILLON_RENDER] [N]
set -euo pipefail
render="${1:-build/tools/quillon-render/quillon-render}"
n="${2:-10000}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

absolute_page() {
    local count=$1
    echo '<html><body>'
    for ((i = 0; i < count; ++i)); do
        echo "<div style=\"position:absolute; left:$((i % 700))px; top:$((i * 3))px; width:50px\">box $i</div>"
    done
}

layout_ms() {
    "$render" "$1" --fixed-metrics --width 800 --timing 2>/dev/null | sed -n 's/.*layout_ms=\([0-9.]*\).*/\1/p'
}

absolute_page "$n" > "$work/n.html"
absolute_page "$((2 * n))" > "$work/2n.html"
one=$(layout_ms "$work/n.html")
two=$(layout_ms "$work/2n.html")
echo "absolute boxes: n=$n layout ${one} ms, 2n layout ${two} ms, ratio $(awk "BEGIN { printf \"%.2f\", $two / $one }")"

{
    echo '<html><head><style>pre { overflow: auto; background: #eee; border: 1px solid #999 }</style></head><body>'
    line=""
    for ((i = 0; i < 600; ++i)); do line+="-dOPTION$i=value "; done
    for ((k = 0; k < 40; ++k)); do
        echo "<p>Paragraph $k of ordinary text that wraps at the window width.</p><pre>$line</pre>"
    done
} > "$work/wide.html"
/usr/bin/time -f 'wide PRE in overflow:auto: %e s wall, %M KB peak' "$render" "$work/wide.html" --width 800 \
    --png "$work/wide.png" --timing 2>&1 | grep -v XDG_RUNTIME
echo "picture: $(file -b "$work/wide.png" | cut -d, -f2)"
