#!/bin/sh
# Builds make_ephemeris_reference.c against Debian's libswe-dev and writes
# tests/data/ephemeris_reference.csv (needs libswe-dev and swe-basic-data).
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
cc -O2 -o "$tmp/ref" "$here/make_ephemeris_reference.c" -lswe -lm -ldl -lpthread
"$tmp/ref" > "$here/ephemeris_reference.csv"
echo "wrote $here/ephemeris_reference.csv ($(wc -l < "$here/ephemeris_reference.csv") lines)"
