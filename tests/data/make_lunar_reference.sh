#!/bin/sh
# Writes tests/data/lunar_reference.csv: simulated lunar distances from the Swiss
# Ephemeris (apt: libswe-dev swe-basic-data). Not run by the build; the CSV is committed.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cc -O2 -Wall -o "$tmp/make_lunar_reference" "$here/make_lunar_reference.c" -lswe -lm
"$tmp/make_lunar_reference" > "$here/lunar_reference.csv"
echo "wrote $here/lunar_reference.csv"
