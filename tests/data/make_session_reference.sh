#!/bin/sh
# Writes tests/data/session_sights.csv and identify_reference.csv from the Swiss
# Ephemeris (apt: libswe-dev swe-basic-data). Not run by the build; the CSVs are committed.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cc -O2 -Wall -o "$tmp/make_session_reference" "$here/make_session_reference.c" -lswe -lm
"$tmp/make_session_reference" "$here/session_sights.csv" "$here/identify_reference.csv"
echo "wrote $here/session_sights.csv $here/identify_reference.csv"
