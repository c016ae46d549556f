#!/bin/sh
# Writes noon_reference.csv, polaris_reference.csv and fix_far_reference.csv from the
# Swiss Ephemeris (apt: libswe-dev swe-basic-data). Not run by the build; the CSVs are committed.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cc -O2 -Wall -o "$tmp/make_planning_reference" "$here/make_planning_reference.c" -lswe -lm
"$tmp/make_planning_reference" "$here"
echo "wrote the planning references in $here"
