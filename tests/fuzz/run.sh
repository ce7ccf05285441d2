#!/bin/sh
# make fuzz: each fuzz target of a build for a given time, from its seeds, its kept failures and
# what earlier runs found (kept in the build). Prints each target's executions and coverage; a
# finding fails, naming the input to keep once mended.
# usage: run.sh FUZZ_BUILD SECONDS [TARGET...]   (every target of the build without one)
set -eu
build=$1
seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
[ $# -gt 0 ] || set -- $(ls "$build" | sed -n 's/^quarrow-fuzz-//p')
failed=""
for name in "$@"; do
  binary="$build/quarrow-fuzz-$name"
  [ -x "$binary" ] || { echo "no fuzz target $binary" >&2; exit 1; }
  corpus="$build/corpus/$name"
  artifacts="$build/findings/$name"
  mkdir -p "$corpus" "$artifacts"
  regressions=""
  [ -d "$here/$name/regressions" ] && regressions="$here/$name/regressions"
  dict=""
  [ -f "$here/$name/dictionary" ] && dict="-dict=$here/$name/dictionary"
  log="$build/findings/$name.log"
  echo "== $name, $seconds s"
  # New inputs go to the first folder, the build's; the kept ones stay as they are. Output of the
  # target itself (refusals, help) is dropped; libFuzzer's own goes to the log.
  if "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
      -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$artifacts/" $dict \
      "$corpus" "$here/$name/seeds" ${regressions:+"$regressions"} >"$log" 2>&1; then
    grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "$log"
  else
    tail -n 30 "$log"
    echo "$name found a failure: $(ls -t "$artifacts" | head -n 1 | sed "s|^|$artifacts/|")" \
         "(keep it in tests/fuzz/$name/regressions/ once mended)"
    failed="$failed $name"
  fi
done
[ -z "$failed" ] || { echo "failures in:$failed" >&2; exit 1; }
