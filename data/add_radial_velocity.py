#!/usr/bin/python3
"""Adds the column rv_kms (radial velocity, km/s, positive receding) to data/stars.csv
from Debian swe-basic-data's sefstars.txt (CC0; SIMBAD): each star takes the radial
velocity of the sefstars.txt entry within 30" of its J2000 position (60" for the stars
whose position came from stellarium-data); none found: 0, listed on stderr.
Run: /usr/bin/python3 data/add_radial_velocity.py /usr/share/libswe/ephe/sefstars.txt
"""
import csv
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
entries = []
for line in open(sys.argv[1], encoding="latin-1"):
    if line.startswith("#") or line.count(",") < 13:
        continue
    f = [x.strip() for x in line.split(",")]
    if f[2] != "ICRS":
        continue
    try:
        ra = (float(f[3]) + float(f[4]) / 60 + float(f[5]) / 3600) * 15
        sign = -1 if f[6].startswith("-") else 1
        dec = sign * (abs(float(f[6])) + float(f[7]) / 60 + float(f[8]) / 3600)
        entries.append((ra, dec, float(f[11]), f[1]))
    except ValueError:
        continue

path = os.path.join(here, "stars.csv")
rows = list(csv.reader(open(path, encoding="utf-8")))
head = rows[0]
if "rv_kms" in head:
    head_rv = head.index("rv_kms")
else:
    head_rv = head.index("parallax_as") + 1
    head.insert(head_rv, "rv_kms")
    for r in rows[1:]:
        r.insert(head_rv, "0")
ra_i, dec_i, src_i = head.index("ra_deg"), head.index("dec_deg"), head.index("source")
for r in rows[1:]:
    ra, dec = float(r[ra_i]), float(r[dec_i])
    limit = 60.0 if r[src_i] != "sefstars" else 30.0
    best = None
    for e in entries:
        d = math.hypot((e[0] - ra) * math.cos(math.radians(dec)), e[1] - dec) * 3600
        if d < limit and (best is None or d < best[0]):
            best = (d, e)
    if best is None:
        print("no radial velocity for HR", r[0], file=sys.stderr)
        r[head_rv] = "0"
    else:
        r[head_rv] = "%g" % best[1][2]
with open(path, "w", encoding="utf-8", newline="") as out:
    csv.writer(out, lineterminator="\n").writerows(rows)
