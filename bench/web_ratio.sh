#!/bin/sh
# Frames per CPU second of the WebAssembly runner under Node beside the native runner, in turns on
# the same machine (CPU time, as wall time on a shared machine says more about the neighbours):
# the best of each over a few rounds, and their ratio. Node's start and compilation count too.
# Usage: bench/web_ratio.sh NATIVE_RUNNER WASM_RUNNER.js [MATCHES] [ROUNDS]
set -eu
native=$1
wasm=$2
matches=${3:-3000}
rounds=${4:-3}
frames=$("$native" --seed 1 --matches "$matches" --csv - 2>/dev/null |
  awk -F, 'NR > 1 { n += $2 } END { print n }')
# Frames per second of CPU time (task-clock, in milliseconds) for one run.
counts=$(mktemp)
trap 'rm -f "$counts"' EXIT
fps() {
  perf stat -x, -o "$counts" -e task-clock "$@" --seed 1 --matches "$matches" >/dev/null 2>&1
  awk -F, -v frames="$frames" '$3 == "task-clock" { printf "%d", frames / ($1 / 1000) }' "$counts"
}
best_native=0
best_wasm=0
i=0
while [ "$i" -lt "$rounds" ]; do
  n=$(fps "$native")
  w=$(fps node "$wasm")
  echo "round $((i + 1)): native $n, WebAssembly $w frames per CPU second"
  [ "$n" -gt "$best_native" ] && best_native=$n
  [ "$w" -gt "$best_wasm" ] && best_wasm=$w
  i=$((i + 1))
done
echo "$frames frames; best: native $best_native, WebAssembly $best_wasm, ratio" \
  "$(awk "BEGIN { printf \"%.2f\", $best_wasm / $best_native }")"
