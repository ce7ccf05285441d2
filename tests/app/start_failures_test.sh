#!/bin/sh
# A platform plugin that does not exist is named, with those that do (status 1); a bad command line
# is refused before any display is looked for (status 2), quoted safely.
quarrow=$1
failed=0
expect() {
  status=$1 pattern=$2
  shift 2
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$quarrow" "$@" 2>&1)
  rc=$?
  if [ "$rc" != "$status" ] || ! printf '%s\n' "$out" | grep -qx -- "$pattern"; then
    echo "FAIL $*: status $rc: $out"
    failed=1
  fi
}
expect 1 'quarrow: no Qt platform plugin "bogus" (Qt has: .*offscreen.*)' -platform bogus
expect 2 "quarrow: unknown argument '--bogus' (see --help)" --bogus
expect 2 'quarrow: -platform needs a value (see --help)' -platform
expect 2 "quarrow: unknown argument 'x\\\\xff\\\\x1b\\[' (see --help)" "$(printf 'x\377\033[')"
exit $failed
