#!/bin/sh
# What the window says when it cannot start: one line naming the display or the platform plugin
# (status 1), and a bad command line refused before any display is looked for (status 2), with
# what it quotes made safe to print.
quarrow=$1
failed=0
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

# expect STATUS LINE-PATTERN COMMAND...
expect() {
  status=$1 pattern=$2
  shift 2
  out=$("$@" 2>&1)
  rc=$?
  if [ "$rc" != "$status" ] || [ "$(printf '%s\n' "$out" | wc -l)" != 1 ] ||
    ! printf '%s\n' "$out" | grep -qx -- "$pattern"; then
    echo "FAIL $*: status $rc: $out"
    failed=1
  fi
}

expect 1 'quarrow: cannot open display :96' env DISPLAY=:96 "$quarrow"
expect 1 'quarrow: no Qt platform plugin "bogus" (Qt has: .*offscreen.*)' \
  env -u DISPLAY "$quarrow" -platform bogus
expect 2 "quarrow: unknown argument '--bogus' (see --help)" env -u DISPLAY "$quarrow" --bogus
expect 2 'quarrow: -platform needs a value (see --help)' env -u DISPLAY "$quarrow" -platform
expect 2 "quarrow: unknown argument 'x\\\\xff\\\\x1b\\[' (see --help)" \
  env DISPLAY=:96 "$quarrow" "$(printf 'x\377\033[')"
exit $failed
