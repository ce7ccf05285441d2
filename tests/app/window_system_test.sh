#!/bin/sh
# The window under a real X server that goes away: a window destroyed without a close request ends
# the program with status 0, and so does the end-of-match question destroyed, or the window while
# the question is open; a lost display ends it with status 1 and one line, never by a signal.
quarrow=$1
tmp=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$tmp"
failed=0

start_display() {
  Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 100); do
    [ -s "$tmp/display" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(cat "$tmp/display")"
}

# Starts quarrow and waits for its window; sets pid and window.
start_quarrow() {
  "$quarrow" 2>"$tmp/err" &
  pid=$!
  window=$(timeout 20 xdotool search --sync --name "^Quarrow simulator$" | head -n 1)
}

# Waits for quarrow to end and sets rc (124 when it runs on).
finish_quarrow() {
  for _ in $(seq 200); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    wait "$pid"
    rc=124
  else
    wait "$pid"
    rc=$?
  fi
}

start_display
start_quarrow
xdotool windowclose "$window"
finish_quarrow
if [ "$rc" != 0 ]; then
  echo "FAIL window destroyed: status $rc"
  cat "$tmp/err"
  failed=1
fi

# "Max" plays to the question within a few seconds.
for gone in question window; do
  start_quarrow
  xdotool mousemove --window "$window" 16 50 click 1
  question=$(timeout 30 xdotool search --sync --onlyvisible --name "^Quarrow$" | head -n 1)
  if [ "$gone" = question ]; then
    xdotool windowclose "$question"
  else
    xdotool windowclose "$window"
  fi
  finish_quarrow
  if [ "$rc" != 0 ]; then
    echo "FAIL $gone destroyed while the question is open: status $rc"
    cat "$tmp/err"
    failed=1
  fi
done

start_quarrow
kill "$xvfb"
wait "$xvfb" 2>/dev/null
xvfb=
finish_quarrow
if [ "$rc" != 1 ] || [ "$(wc -l <"$tmp/err")" != 1 ]; then
  echo "FAIL display lost: status $rc"
  cat "$tmp/err"
  failed=1
fi
exit $failed
