#!/bin/sh
# Replays a fuzz target's seeds and every input that once failed it: each must pass.
# usage: replay.sh TARGET_BINARY CASES_FOLDER
set -eu
binary=$1
cases=$2
if [ ! -x "$binary" ]; then
  echo "no fuzz target $binary: it is built with clang by 'make fuzz-build' (or 'make test')" >&2
  exit 1
fi
set --
for file in "$cases"/seeds/* "$cases"/regressions/*; do
  [ -f "$file" ] && set -- "$@" "$file"
done
[ $# -gt 0 ] || { echo "no input kept in $cases" >&2; exit 1; }
# Files alone: each is run once, none is mutated; a hang fails within the timeout.
"$binary" -timeout=20 "$@" >/dev/null 2>&1 || {
  status=$?
  echo "$binary failed (status $status) on one of $# inputs of $cases; again with its output:" >&2
  "$binary" -timeout=20 "$@" 2>&1 | grep -v '^Running: \|^Executed ' | tail -n 40 >&2
  exit 1
}
echo "$# inputs of $cases pass"
