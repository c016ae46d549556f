#!/bin/sh
# Writes tests/data/fix_sights.csv: simulated sights from the Swiss Ephemeris
# (apt: libswe-dev swe-basic-data). Not run by the build; the CSV is committed.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cc -O2 -Wall -o "$tmp/make_fix_reference" "$here/make_fix_reference.c" -lswe -lm
"$tmp/make_fix_reference" > "$here/fix_sights.csv"
echo "wrote $here/fix_sights.csv"
