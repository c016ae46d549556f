#!/bin/sh
# Builds make_magnitude_reference.c against Debian's Swiss Ephemeris (libswe-dev, swe-basic-data)
# and rewrites magnitude_reference.csv in this folder. Not run by CI.
#   sh tests/data/make_magnitude_reference.sh
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
cc -O2 -std=c11 -Wall -o "$tmp/make_magnitude_reference" "$here/make_magnitude_reference.c" -lswe -lm
"$tmp/make_magnitude_reference" "$here"
