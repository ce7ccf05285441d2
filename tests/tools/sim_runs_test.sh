#!/bin/sh
# Runs in worker processes give what one process gives; a lost worker or an interrupt is never a
# quiet success; pooled CSVs give the summary of one run over the same matches.
sim=$(realpath "$1")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp" || exit 1
failed=0
fail() { echo "FAIL $*"; failed=1; }
# The JSON summary without what differs from run to run.
plain() { sed 's/"frames_per_second": [0-9a-z]*//' "$1"; }

"$sim" --seed 100 --runs 6 --matches 3 --jobs 1 --csv one.csv --trace one.jsonl --summary json \
  >one.json || fail "one process"
"$sim" --seed 100 --runs 6 --matches 3 --jobs 4 --csv four.csv --trace four.jsonl \
  --histogram four.svg --summary json >four.json || fail "four workers"
cmp -s one.csv four.csv && cmp -s one.jsonl four.jsonl || fail "outputs differ with --jobs"
[ "$(plain one.json)" = "$(plain four.json)" ] || fail "summaries differ with --jobs"

# Four shards through GNU parallel, as the manual shows, pooled. `make test` installs parallel.
if command -v parallel >/dev/null; then
  parallel --will-cite "$sim" --seed {} --runs 2 --matches 3 --jobs 1 --csv part-{}.csv \
    --summary json ::: 100 102 104 >/dev/null || fail "parallel shards"
  "$sim" --pool part-*.csv --histogram pooled.svg --summary json >pooled.json || fail "pool"
  [ "$(plain pooled.json)" = "$(plain four.json)" ] || fail "pooled summary differs"
  cmp -s pooled.svg four.svg || fail "pooled histogram differs"
else
  fail "GNU parallel is missing: the pooled shards are not checked"
fi

# Foreign, torn and repeated rows: status 2 and the file and line.
head -3 one.csv >torn.csv && tail -1 one.csv | tr -d '\n' >>torn.csv
head -5 one.csv >repeated.csv && sed -n 3p one.csv >>repeated.csv
echo "match,frames,winner" >foreign.csv
for case in foreign.csv:1: torn.csv:4: repeated.csv:6:; do
  "$sim" --pool "${case%%:*}" 2>err; rc=$?
  [ "$rc" = 2 ] && grep -q "^quarrow-sim: $case" err || fail "pool of $case status $rc, $(cat err)"
done

# A pool stops when told, also while a FIFO waits for its first writer or for more: one line, 143.
mkfifo idle.fifo slow.fifo
{ cat one.csv; sleep 3; } >slow.fifo & writer=$!
for fifo in idle slow; do
  "$sim" --pool $fifo.fifo --histogram $fifo.svg 2>err & pid=$!
  sleep 0.5 && kill -TERM $pid
  for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -KILL $pid 2>/dev/null && fail "pool of the $fifo FIFO outlived SIGTERM"
  wait $pid; rc=$?
  [ "$rc" = 143 ] && [ "$(wc -l <err)" = 1 ] && [ ! -e $fifo.svg ] || fail "$fifo FIFO: $rc, $(cat err)"
done
kill $writer 2>/dev/null

# A worker killed mid-run, then an interrupt: one line, no output in place, no worker left.
workers() { for _ in $(seq 100); do pgrep -P "$1" >/dev/null && break; sleep 0.1; done; }
"$sim" --seed 1 --runs 400 --matches 20 --jobs 2 --csv killed.csv 2>err & pid=$!
workers $pid
kill -KILL "$(pgrep -P $pid | tail -1)"
wait $pid; rc=$?
[ "$rc" = 1 ] && [ "$(wc -l <err)" = 1 ] && grep -q 'worker .* killed' err && [ ! -e killed.csv ] ||
  fail "killed worker: status $rc, $(cat err)"
"$sim" --seed 1 --runs 400 --matches 20 --jobs 2 --csv stopped.csv >/dev/null 2>err & pid=$!
workers $pid
sleep 1
kill -TERM $pid
wait $pid; rc=$?
[ "$rc" = 143 ] && [ -z "$(pgrep -P $pid)" ] || fail "interrupt: status $rc"
awk -F, 'NR == 1 { n = NF } NF != n { bad = 1 } END { exit bad }' stopped.csv && [ "$(tail -c 1 stopped.csv)" = "" ] ||
  fail "torn CSV"
exit $failed
