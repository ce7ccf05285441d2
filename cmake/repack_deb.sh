#!/bin/sh
# Rebuilds a Debian package so that two builds of one commit give the same bytes: every file time
# is SOURCE_DATE_EPOCH, the owners are root and dpkg-deb sorts the members by name.
set -eu
deb=$1
: "${SOURCE_DATE_EPOCH:?SOURCE_DATE_EPOCH must be set}"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
umask 022
dpkg-deb --raw-extract "$deb" "$tmp/root"
find "$tmp/root" -exec touch --no-dereference --date="@$SOURCE_DATE_EPOCH" {} +
dpkg-deb --root-owner-group -Zxz --build "$tmp/root" "$tmp/out.deb" >/dev/null
mv "$tmp/out.deb" "$deb"
