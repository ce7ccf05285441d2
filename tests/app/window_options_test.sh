#!/bin/sh
# The window's own options: a bad one gets one line and status 2 before any window opens, and the
# seed lines never trouble the window, whatever standard output is.
quarrow=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$tmp"
failed=0

for args in "--match 3" "--seed 1 --match 0" "--court 82x100" "--court 100" "--zoom 5" "--seed" \
    "--court 2000x100"; do
  # shellcheck disable=SC2086
  timeout 20 "$quarrow" $args >/dev/null 2>"$tmp/err"
  rc=$?
  if [ $rc != 2 ] || [ "$(wc -l <"$tmp/err")" != 1 ] || ! grep -q '^quarrow: ' "$tmp/err"; then
    echo "FAIL $args: status $rc"; cat "$tmp/err"; failed=1
  fi
done

# Still running after a second: closed, a pipe nobody reads, a pipe closed at once.
timeout 1 "$quarrow" --seed 1 >&- 2>/dev/null; rc=$?
[ $rc = 124 ] || { echo "FAIL closed standard output: status $rc"; failed=1; }
(timeout 1 "$quarrow" 2>/dev/null; echo $? >"$tmp/rc") | true
[ "$(cat "$tmp/rc")" = 124 ] || { echo "FAIL closed pipe: status $(cat "$tmp/rc")"; failed=1; }
timeout 1 "$quarrow" --seed 5 --match 2 >"$tmp/out" 2>/dev/null
[ "$(head -n 1 "$tmp/out")" = "match 2 of seed 5" ] || { echo "FAIL seed line"; failed=1; }

# A play-on says how far it has come on standard error, and refuses a match out of its reach.
timeout 20 "$quarrow" --seed 1 --match 4000000000000 >/dev/null 2>"$tmp/err"; rc=$?
if [ $rc != 2 ] || ! grep -q '^quarrow: Playing on to match 4000000000000 of seed 1: at match ' "$tmp/err" ||
    ! tail -n 1 "$tmp/err" | grep -q 'in about 10 minutes: match [0-9]* at most (see --help)$'; then
  echo "FAIL a play-on out of reach: status $rc"; cat "$tmp/err"; failed=1
fi
exit $failed
