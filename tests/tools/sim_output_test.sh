#!/bin/sh
# quarrow-sim must never report a lost write as success, nor lose or tear an earlier output: each
# failure ends with status 1 and one line on standard error.
sim=$(realpath "$1")
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
# Outputs are written whole or not at all: a failed open or write leaves an earlier file as it was,
# and no temporary file behind.
untouched() {
  if [ "$(cat "$tmp/keep.jsonl")" != old ] || ls -A "$tmp" | grep -q '^\.'; then
    echo "FAIL $1: an earlier output was touched or a temporary file is left"
    failed=1
  fi
}
echo old >"$tmp/keep.jsonl"
"$sim" --seed 1 --trace "$tmp/keep.jsonl" --csv "$tmp/missing/x.csv" >/dev/null 2>"$tmp/err"; echo $? >"$tmp/rc"
expect_failure "an output in a missing folder"
untouched "an output in a missing folder"
# A file size limit fails a write as a full disk does.
(ulimit -f 16; "$sim" --seed 1 --matches 3 --trace "$tmp/keep.jsonl" >/dev/null 2>"$tmp/err"; echo $? >"$tmp/rc")
expect_failure "a trace past the file size limit"
untouched "a trace past the file size limit"

# Outputs change together: a histogram past the file size limit leaves the CSV, which fits, as it
# was too.
echo old >"$tmp/keep.csv"
(ulimit -f 2; "$sim" --seed 1 --matches 2 --csv "$tmp/keep.csv" --histogram "$tmp/h.svg" >/dev/null 2>"$tmp/err"; echo $? >"$tmp/rc")
expect_failure "a histogram past the file size limit"
[ "$(cat "$tmp/keep.csv")" = old ] && [ ! -e "$tmp/h.svg" ] || { echo "FAIL the CSV was replaced alone"; failed=1; }
untouched "a histogram past the file size limit"

# Memory running out (here in reading two workers ahead) is one line and status 1, and the stack
# unwound on the way removes the temporary files; AddressSanitizer cannot run under the limit.
if [ "$2" = sanitized ]; then
  echo "note: the memory limit case does not run under AddressSanitizer"
else
  (ulimit -v 20000; "$sim" --seed 1 --runs 2 --matches 50 --jobs 2 --trace "$tmp/keep.jsonl" >/dev/null 2>"$tmp/err"; echo $? >"$tmp/rc")
  [ "$(cat "$tmp/rc")" = 1 ] && [ "$(cat "$tmp/err")" = "quarrow-sim: out of memory" ] ||
    { echo "FAIL out of memory: status $(cat "$tmp/rc"): $(cat "$tmp/err")"; failed=1; }
  untouched "out of memory"
fi

# Two options naming one file, in any spelling, are refused before anything is written, whether
# the file exists yet or not.
mkdir "$tmp/sub"
ln -s keep.jsonl "$tmp/link"
ln -s sub "$tmp/folder"
ln -s new.csv "$tmp/dangling"
for pair in "--csv x --histogram x" "--csv x --trace ./x" "--trace t --csv sub/../t" \
  "--csv folder/y --trace sub/y" "--csv dangling --trace new.csv" "--csv keep.jsonl --trace link"; do
  # shellcheck disable=SC2086
  (cd "$tmp" && "$sim" --seed 1 $pair) >/dev/null 2>"$tmp/err"
  rc=$?
  if [ "$rc" != 2 ] || [ "$(wc -l <"$tmp/err")" != 1 ] || ! grep -q 'name the same file' "$tmp/err"; then
    echo "FAIL $pair: status $rc: $(cat "$tmp/err")"
    failed=1
  fi
done
[ -z "$(ls -A "$tmp/sub")" ] && [ ! -e "$tmp/x" ] && [ ! -e "$tmp/t" ] && [ ! -e "$tmp/new.csv" ] ||
  { echo "FAIL a refused run wrote a file"; failed=1; }
untouched "two options naming one file"

# A signal stops the run after its frame, with every output whole over the matches finished: the
# last byte a newline, the last record and row whole, and the summary and picture saying so.
whole() { [ -z "$(tail -c 1 "$1")" ] && tail -n 1 "$1" | grep -q "$2"; }
for case in "INT 130 - --csv $tmp/c.csv" "TERM 143 $tmp/t.jsonl --summary json"; do
  set -- $case
  signal=$1 status=$2 trace=$3
  shift 3
  env --default-signal="$signal" "$sim" --seed 1 --matches 1000000 --trace "$trace" \
    --histogram "$tmp/h.svg" "$@" >"$tmp/out" 2>"$tmp/err" &
  sleep 1
  kill -"$signal" $!
  wait $!
  rc=$?
  [ "$trace" = - ] && trace="$tmp/out"
  if [ "$rc" != "$status" ] || ! tail -n 1 "$tmp/err" | grep -q '^quarrow-sim: interrupted after' ||
    ! whole "$trace" '}$' || ! whole "$tmp/h.svg" '^</svg>$' || ! grep -q interrupted "$tmp/h.svg"; then
    echo "FAIL SIG$signal: status $rc: $(tail -n 1 "$tmp/err")"
    failed=1
  fi
done
if ! whole "$tmp/c.csv" , || ! awk -F, 'NR == 1 { n = NF } END { exit NF != n }' "$tmp/c.csv" ||
  ! grep -q '"interrupted": true' "$tmp/out"; then
  echo "FAIL interrupted CSV or summary"
  failed=1
fi
exit $failed
