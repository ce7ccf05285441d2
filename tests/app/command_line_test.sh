#!/bin/sh
# The programs' command lines without a display: --version and --help answer, a window that cannot
# open says so in one line, and whatever Qt leaves of the arguments is refused on one line.
quarrow=$1
sim=$2
version=$3
failed=0

# expect NAME STATUS FIRST-LINE COMMAND...: the status and the first line of the output.
expect() {
  name=$1 status=$2 line=$3
  shift 3
  out=$("$@" 2>&1)
  rc=$?
  if [ "$rc" != "$status" ] || [ "$(printf '%s\n' "$out" | head -n 1)" != "$line" ]; then
    echo "FAIL $name: status $rc, output:"
    printf '%s\n' "$out"
    failed=1
  fi
}

bare="env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM"
no_display="quarrow: no display available: start it from a desktop session, or set DISPLAY"
expect "no DISPLAY" 1 "$no_display" $bare "$quarrow"
expect "an absent display" 1 "quarrow: cannot open display :9999" $bare DISPLAY=:9999 "$quarrow"
expect "quarrow --version" 0 "quarrow $version" $bare "$quarrow" --version
expect "quarrow-sim --version" 0 "quarrow-sim $version" $bare "$sim" --version
expect "quarrow --help" 0 "usage: quarrow [OPTION]..." $bare "$quarrow" --help
expect "quarrow-sim --help" 0 "usage: quarrow-sim [OPTION]..." $bare "$sim" --help
out=$(QT_QPA_PLATFORM=offscreen "$quarrow" "$(printf 'bo\ngus')" 2>&1)
rc=$?
if [ "$rc" != 2 ] ||
  [ "$(printf '%s\n' "$out" | tail -n 1)" != "quarrow: unknown argument 'bo\\ngus' (see --help)" ]; then
  echo "FAIL an unknown argument, on one line: status $rc, output:"
  printf '%s\n' "$out"
  failed=1
fi

# Bad command lines are refused before any display is looked for, quoted safely; a platform plugin
# that does not exist is named, with those that do.
expect "an unknown option" 2 "quarrow: unknown argument '--bogus' (see --help)" $bare "$quarrow" --bogus
expect "no value" 2 "quarrow: -platform needs a value (see --help)" $bare "$quarrow" -platform
expect "bytes not UTF-8" 2 "quarrow: unknown argument 'x\\xff\\x1b[' (see --help)" \
  $bare "$quarrow" "$(printf 'x\377\033[')"
out=$($bare "$quarrow" -platform bogus 2>&1)
rc=$?
if [ "$rc" != 1 ] || ! printf '%s\n' "$out" | grep -qx 'quarrow: no Qt platform plugin "bogus" (Qt has: .*offscreen.*)'; then
  echo "FAIL a platform plugin that does not exist: status $rc: $out"
  failed=1
fi

"$quarrow" --help >/dev/full 2>/dev/null
rc=$?
[ "$rc" = 1 ] || { echo "FAIL help to a full disk: status $rc"; failed=1; }
exit $failed
