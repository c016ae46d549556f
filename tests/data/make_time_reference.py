#!/usr/bin/python3
"""Writes time_reference.csv: Greenwich apparent sidereal time, nutation and mean
obliquity from ERFA (Debian python3-erfa), at 41 instants 1900-2100.

  jd      Julian date, used as UT for the sidereal time and as TT for nutation and
          obliquity (each quantity is compared at the same instant on its own scale)
  gast_deg  ERFA gst94: IAU 1982 mean sidereal time + 1994 equation of the equinoxes
  dpsi_as, deps_as  ERFA nut80: the full 106-term IAU 1980 nutation, arcseconds
  eps0_as   ERFA obl80: IAU 1980 mean obliquity, arcseconds

Run: /usr/bin/python3 tests/data/make_time_reference.py > tests/data/time_reference.csv
"""
import math
import random

import erfa

rng = random.Random(19000101)
jd_1900 = 2415020.5
jd_2100 = 2488069.5
print("jd,gast_deg,dpsi_as,deps_as,eps0_as")
for i in range(41):
    jd = jd_1900 + (jd_2100 - jd_1900) * i / 40.0 + rng.uniform(0.0, 1.0)
    jd = round(jd, 6)
    gast = math.degrees(erfa.gst94(jd, 0.0))
    dpsi, deps = erfa.nut80(jd, 0.0)
    eps0 = erfa.obl80(jd, 0.0)
    r2as = 180.0 / math.pi * 3600.0
    print(f"{jd:.6f},{gast:.10f},{dpsi * r2as:.6f},{deps * r2as:.6f},{eps0 * r2as:.6f}")
