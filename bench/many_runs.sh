#!/bin/bash
# Figures for many runs: the speed-up of --jobs 2 over --jobs 1 (runs of both in turn, so that a
# busy machine slows both alike), pooling a million CSV rows (time and peak memory), and the
# instructions a frame under callgrind, against a reference build when one is given.
# Usage: bench/many_runs.sh path/to/quarrow-sim [path/to/reference/quarrow-sim]
set -euo pipefail
sim=$(realpath "$1")
reference=${2:+$(realpath "$2")}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
seconds() { /usr/bin/time -f %e "$@" 2>&1 >/dev/null | tail -1; }

echo "== --runs 200 --matches 10: --jobs 1 against --jobs 2, in turn"
ratios=()
for round in 1 2 3; do
  one=$(seconds "$sim" --seed 1 --runs 200 --matches 10 --jobs 1 --csv one.csv --summary json)
  two=$(seconds "$sim" --seed 1 --runs 200 --matches 10 --jobs 2 --csv two.csv --summary json)
  cmp one.csv two.csv
  ratios+=("$(awk "BEGIN { printf \"%.2f\", $one / $two }")")
  echo "round $round: $one s with one job, $two s with two: ${ratios[-1]}x"
done
echo "median speed-up: $(printf '%s\n' "${ratios[@]}" | sort -n | sed -n 2p)x (outputs identical)"

echo "== pooling 1,000,000 rows"
# 10,000 real rows, their seeds moved 100 times over: real values, a million distinct matches.
"$sim" --seed 1 --runs 200 --matches 50 --csv base.csv >/dev/null
awk -F, -v OFS=, 'NR == 1 { print; next } { row[NR] = $0 }
  END { for (k = 0; k < 100; k++) for (i = 2; i <= NR; i++) { $0 = row[i]; $14 += k * 200; print } }' \
  base.csv >million.csv
echo "$(($(wc -l <million.csv) - 1)) rows, $(($(stat -c %s million.csv) / 1000000)) MB"
/usr/bin/time -f "in order: %e s, peak %M KB" "$sim" --pool million.csv >/dev/null
(head -1 million.csv && tail -n +2 million.csv | shuf --random-source=million.csv) >shuffled.csv
/usr/bin/time -f "shuffled (a stretch a row): %e s, peak %M KB" "$sim" --pool shuffled.csv >/dev/null

echo "== instructions a frame, --seed 1 --matches 5 (callgrind)"
for build in "$sim" $reference; do
  valgrind --tool=callgrind --callgrind-out-file=cg.out "$build" --seed 1 --matches 5 \
    --summary json >summary.json 2>/dev/null
  frames=$(sed 's/.*"frames": \([0-9]*\).*/\1/' summary.json)
  instructions=$(sed -n 's/^summary: //p' cg.out)
  echo "$build: $instructions instructions, $frames frames, $((instructions / frames)) a frame"
done
