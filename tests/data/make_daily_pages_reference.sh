#!/bin/sh
# Builds make_daily_pages_reference.c against Debian's Swiss Ephemeris (libswe-dev, swe-basic-data)
# and rewrites the daily pages reference table in this folder. Not run by CI.
#   sh tests/data/make_daily_pages_reference.sh
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
cc -O2 -std=c11 -Wall -o "$tmp/make_daily_pages_reference" "$here/make_daily_pages_reference.c" -lswe -lm
"$tmp/make_daily_pages_reference" "$here"
