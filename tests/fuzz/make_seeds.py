#!/usr/bin/python3
"""Writes the fuzzers' seed corpora from the generated data files:
corpus/planet: planet.bin with every power's series cut to its first two terms (a
valid file of a few kilobytes) and that file cut inside its third block;
corpus/star: star.bin as generated and cut inside the Greek letters;
corpus/moon: the first three spans of moon.bin, and that cut.
Run: /usr/bin/python3 tests/fuzz/make_seeds.py build/Data
"""
import os
import struct
import sys

data = sys.argv[1]
here = os.path.dirname(os.path.abspath(__file__))

planet = open(os.path.join(data, "planet.bin"), "rb").read()
out = bytearray()
pos = 0
blocks = []
while pos + 1 < len(planet):
    name = planet[pos:pos + 10]
    counts = struct.unpack_from("<18i", planet, pos + 10)
    n = [sum(counts[k::3]) for k in range(3)]
    starts = [pos + 92, pos + 102 + 24 * n[0], pos + 112 + 24 * (n[0] + n[1])]
    new_counts = [min(c, 2) for c in counts]
    block = bytearray(name) + struct.pack("<18i", *new_counts)
    for k in range(3):
        block += bytes(10)
        at = starts[k]
        for p in range(6):
            c = counts[3 * p + k]
            block += planet[at:at + 24 * new_counts[3 * p + k]]
            at += 24 * c
    blocks.append(bytes(block))
    pos = starts[2] + 24 * n[2]
small = b"".join(blocks)
open(os.path.join(here, "corpus/planet/small.bin"), "wb").write(small)
open(os.path.join(here, "corpus/planet/cut.bin"), "wb").write(small[:len(blocks[0]) + len(blocks[1]) + 150])

star = open(os.path.join(data, "star.bin"), "rb").read()
open(os.path.join(here, "corpus/star/star.bin"), "wb").write(star)
pos = 0
for _ in range(287):
    pos += 71 + struct.unpack_from("<H", star, pos + 13)[0]
open(os.path.join(here, "corpus/star/cut.bin"), "wb").write(star[:pos + 40])
print("seeds:", len(small), len(star))

# corpus/moon: the header and the first three spans of moon.bin (a valid file), and
# that file cut inside its second span.
moon = open(os.path.join(data, "moon.bin"), "rb").read()
spans, n = struct.unpack_from("<2i", moon, 8)
small_moon = moon[:8] + struct.pack("<2i", 3, n) + moon[16:32] + moon[32:32 + 3 * 3 * n * 8]
os.makedirs(os.path.join(here, "corpus/moon"), exist_ok=True)
open(os.path.join(here, "corpus/moon/small.bin"), "wb").write(small_moon)
open(os.path.join(here, "corpus/moon/cut.bin"), "wb").write(small_moon[:32 + 3 * n * 8 + 40])
