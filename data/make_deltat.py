#!/usr/bin/python3
"""Writes data/deltat.csv, the observed Delta T = TT - UT that the program interpolates.

  1620-1656  yearly, Swiss Ephemeris 2.10 (Debian libswe2.0) with its Stephenson & Morrison
             (1984) table (swe_set_astro_models("1")), on the 1 January of each year;
  1657-1972  yearly, USNO historic_deltat.data (1 January of each year), as npm `astronomia`
             4.2.0 ships it in data/deltat.js (`historic`, half-yearly from 1657.0);
  1973-02 .. the last month: monthly, USNO deltat.data (IERS observed values, the 1st of each
             month), astronomia 4.2.0 data/deltat.txt.

Run:  mkdir t && cd t && npm pack astronomia@4.2.0 && tar xzf astronomia-4.2.0.tgz
      /usr/bin/python3 data/make_deltat.py t/package > data/deltat.csv
"""
import ctypes
import re
import sys

pkg = sys.argv[1]
swe = ctypes.CDLL("libswe.so.2")
swe.swe_julday.restype = ctypes.c_double
swe.swe_julday.argtypes = [ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_double, ctypes.c_int]
swe.swe_deltat.restype = ctypes.c_double
swe.swe_deltat.argtypes = [ctypes.c_double]
swe.swe_set_astro_models.argtypes = [ctypes.c_char_p, ctypes.c_int]
swe.swe_set_astro_models(b"1", 0)

js = open(f"{pkg}/data/deltat.js").read()
m = re.search(r"historic:\s*{\s*table:\s*\[([^\]]*)\],\s*first:\s*([\d.]+)", js)
historic = [float(x) for x in m.group(1).split(",")]
first = float(m.group(2))
assert first == 1657.0

print("# Delta T = TT - UT in seconds, on the 1st day of the month (0 h UT). Written by data/make_deltat.py;")
print("# 1620-1656 Swiss Ephemeris (Stephenson & Morrison 1984 table), 1657-1972 USNO historic_deltat.data,")
print("# from 1973-02 USNO deltat.data (IERS observed), both as npm astronomia 4.2.0 ships them.")
print("year,month,delta_t_s")
for y in range(1620, 1657):
    print(f"{y},1,{swe.swe_deltat(swe.swe_julday(y, 1, 1, 0.0, 1)) * 86400.0:.2f}")
for y in range(1657, 1973):
    print(f"{y},1,{historic[int((y - 1657) * 2)]:g}")
for line in open(f"{pkg}/data/deltat.txt"):
    f = line.split()
    if len(f) == 3:
        print(f"{int(f[0])},{int(f[1])},{float(f[2]):.4f}")
