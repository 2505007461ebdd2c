# Helpers the search benchmarks share; sourced, not run.

# Gives another tool the tree the scanner sees: the scanner never enters hidden
# directories (a dot inside a name is no bar).
tidy_corpus() {
  local dir=$1
  find "$dir" -name '.*' -prune -exec rm -rf {} +
}

now_ns() { date +%s%N; }

# Best wall time in milliseconds of $runs runs of the command; its output goes to $out.
best_ms() {
  local out=$1; shift
  local best=
  for ((i = 0; i < runs; i++)); do
    local t0 t1
    t0=$(now_ns)
    "$@" >"$out" 2>/dev/null || true
    t1=$(now_ns)
    local ms=$(( (t1 - t0) / 1000000 ))
    if [[ -z $best || $ms -lt $best ]]; then best=$ms; fi
  done
  echo "$best"
}
