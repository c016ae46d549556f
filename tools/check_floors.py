#!/usr/bin/python3
"""Counts the include circles and the includes that run up a floor.

The floors, from the ground up:
  0 core/         time, angles, series, apparent place, Moon, stars, text forms, working-data type
  1 reduction/    altitude corrections, computed altitude and azimuth
  2 features      the Qt-free m... modules of fix/ riseset/ almanac/ map/ planning/ log/
  3 ui/           the Qt kit under the windows
  4 features      the windows (frm...) and the Qt modules beside them
  5 shell/        the program, the frame and start-up (it may know every window)
An include from a file to one on a higher floor is "upward"; so is a Qt module of a
feature (floor 4, not a window) that includes a window. A header and its source are
one module; a circle is a set of two or more modules that reach each other by includes.

Run: python3 tools/check_floors.py [source root] [--max-circles N] [--max-upward N]
Prints every circle and upward include with the counts; exits 1 when a count is
above its maximum (both 0 unless given), so CI can run it.
"""
import os
import re
import sys

FEATURES = ("fix", "riseset", "almanac", "map", "planning", "log")
FOLDERS = ("core", "reduction", "ui", "shell") + FEATURES + ("app", "bodies")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
QT_INCLUDE = re.compile(r'^\s*#\s*include\s+<Q', re.M)


def sources(root):
    out = {}
    for folder in FOLDERS:
        d = os.path.join(root, folder)
        if not os.path.isdir(d):
            continue
        for name in sorted(os.listdir(d)):
            if name.endswith((".h", ".cpp")):
                with open(os.path.join(d, name), encoding="utf-8", errors="replace") as f:
                    out[folder + "/" + name] = f.read()
    return out


def module(path):
    return os.path.splitext(path)[0]


def floors(files):
    """The floor of each module (a module using Qt anywhere in a feature is a window-floor one)."""
    qt = {}
    for path, text in files.items():
        qt[module(path)] = qt.get(module(path), False) or bool(QT_INCLUDE.search(text))
    out = {}
    for m, uses_qt in qt.items():
        folder = m.split("/")[0]
        if folder in ("core", "bodies"):
            out[m] = 0
        elif folder == "reduction":
            out[m] = 1
        elif folder == "ui":
            out[m] = 3
        elif folder in ("shell", "app"):
            out[m] = 5
        else:
            out[m] = 4 if uses_qt else 2
    return out


def graph(files):
    edges = {}
    for path, text in files.items():
        a = module(path)
        for inc in INCLUDE.findall(text):
            b = module(inc)
            if b != a and inc in files:
                edges.setdefault(a, set()).add(b)
    return edges


def circles(edges, nodes):
    """Strongly connected components of two or more modules (Tarjan)."""
    index, low, stack, on, out = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on.add(v)
        for w in sorted(edges.get(v, ())):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            comp = []
            while True:
                w = stack.pop()
                on.discard(w)
                comp.append(w)
                if w == v:
                    break
            if len(comp) > 1:
                out.append(sorted(comp))

    sys.setrecursionlimit(10000)
    for v in sorted(nodes):
        if v not in index:
            visit(v)
    return out


def upward(files, floor):
    out = []
    for path, text in sorted(files.items()):
        a = module(path)
        for inc in INCLUDE.findall(text):
            b = module(inc)
            if b == a or b not in floor:
                continue
            helper_to_window = (floor[a] == 4 and floor[b] == 4 and not a.split("/")[1].startswith("frm")
                                and b.split("/")[1].startswith("frm"))
            if floor[b] > floor[a] or helper_to_window:
                out.append((path, inc, floor[a], floor[b]))
    return out


def main(argv):
    root = "."
    limits = {"--max-circles": 0, "--max-upward": 0}
    args = list(argv)
    while args:
        a = args.pop(0)
        if a in limits:
            limits[a] = int(args.pop(0))
        else:
            root = a
    files = sources(root)
    floor = floors(files)
    found = circles(graph(files), set(floor))
    up = upward(files, floor)
    for c in found:
        print("circle: " + " <-> ".join(c))
    for path, inc, fa, fb in up:
        print(f"upward: {path} (floor {fa}) includes {inc} (floor {fb})")
    print(f"{len(found)} circles, {len(up)} upward includes")
    return 1 if len(found) > limits["--max-circles"] or len(up) > limits["--max-upward"] else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
