#!/bin/sh
# The window's sizes on Wayland, under a headless weston: a window that does not take the size it
# is configured to loses its connection, and the test its process.
tests=$1
tmp=$(mktemp -d)
chmod 700 "$tmp"
weston=
cleanup() {
  [ -n "$weston" ] && kill "$weston" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$tmp" WAYLAND_DISPLAY=quarrow-test QT_QPA_PLATFORM=wayland
weston --backend=headless-backend.so --use-pixman --socket="$WAYLAND_DISPLAY" --idle-time=0 \
  >"$tmp/weston.log" 2>&1 &
weston=$!
for _ in $(seq 100); do
  [ -S "$tmp/$WAYLAND_DISPLAY" ] && break
  sleep 0.1
done
"$tests" --gtest_filter='WindowStates.*' || { cat "$tmp/weston.log"; exit 1; }
