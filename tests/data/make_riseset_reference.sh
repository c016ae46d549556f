#!/bin/sh
# Builds the Swiss Ephemeris reference program and writes riseset_reference.csv.
# Needs Debian libswe-dev and swe-basic-data. Not run by CI; the CSV is committed.
set -e
here=$(cd "$(dirname "$0")" && pwd)
cc -O2 -Wall -o /tmp/make_riseset_reference "$here/make_riseset_reference.c" -lswe -lm
/tmp/make_riseset_reference "$here/riseset_cases.csv" "$here/riseset_events.csv"
