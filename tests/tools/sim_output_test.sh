#!/bin/sh
# quarrow-sim must never report a lost write as success: each case must end with status 1 and one
# line on standard error.
sim=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0

expect_failure() {
  name=$1
  rc=$(cat "$tmp/rc")
  lines=$(wc -l <"$tmp/err")
  if [ "$rc" != 1 ] || [ "$lines" != 1 ] || ! grep -q '^quarrow-sim: cannot write' "$tmp/err"; then
    echo "FAIL $name: status $rc, stderr:"
    cat "$tmp/err"
    failed=1
  fi
}

"$sim" --seed 1 --matches 2 >/dev/full 2>"$tmp/err"; echo $? >"$tmp/rc"
expect_failure "summary to a full disk"
"$sim" --help >/dev/full 2>"$tmp/err"; echo $? >"$tmp/rc"
expect_failure "help to a full disk"
"$sim" --seed 1 >&- 2>"$tmp/err"; echo $? >"$tmp/rc"
expect_failure "closed standard output"
"$sim" --seed 1 --trace "$tmp/t" >&- 2>"$tmp/err"; echo $? >"$tmp/rc"
expect_failure "closed standard output, trace to a file"
(trap '' PIPE; "$sim" --seed 1 --matches 5 --trace - 2>"$tmp/err"; echo $? >"$tmp/rc") | head -c 1 >/dev/null
expect_failure "closed pipe with SIGPIPE ignored"
# A GIF that cannot be written whole leaves nothing behind, not even its temporary.
(trap '' XFSZ; ulimit -f 100; "$sim" --seed 1 --gif "$tmp/g.gif" 2>"$tmp/err" >/dev/null; echo $? >"$tmp/rc")
expect_failure "GIF larger than the files allowed"
[ -z "$(ls "$tmp" | grep '^g\.gif')" ] || { echo "FAIL a partial GIF was left"; failed=1; }
# Many matches: only stopping at the first failed write ends this in time.
timeout 60 "$sim" --seed 1 --matches 100000 --trace /dev/full 2>"$tmp/err"; echo $? >"$tmp/rc"
expect_failure "trace to a full disk"
exit $failed
