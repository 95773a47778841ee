#!/usr/bin/python3
"""zed piece on big files: a generated set of PIECES pieces of POINTS points each, converted into
every format and back, and resampled, each run timed with /usr/bin/time -v (wall time and peak
memory) beside `cat` reading the same bytes. Not a test: it prints a table.

Usage: piece_files.py ZED [--pieces 1000] [--points 10000] [--dir DIR]"""
import argparse
import math
import os
import re
import shutil
import subprocess
import tempfile


def generate(path, pieces, points):
    """A closed outline per piece, every 97th point a notch, every 1000th a corner."""
    with open(path, "w") as f:
        f.write('{"format":"zed-pieces","version":1,"pieces":[')
        for k in range(pieces):
            ox = (k % 40) * 1200.0
            oy = (k // 40) * 1200.0
            pts = []
            for i in range(points):
                a = 2 * math.pi * i / points
                r = 400 + 40 * math.sin(7 * a)
                flags = "Draw" if i else ""
                if i and i % 97 == 0:
                    flags += "+Notch"
                if i and i % 1000 == 0:
                    flags += "+Corner"
                pts.append('[%.1f,%.1f,"%s",1]' % (ox + r * math.cos(a), oy + r * math.sin(a), flags))
            pts.append(pts[0].replace('""', '"Draw"'))
            f.write(("," if k else "") + '\n{"names":["P%d"],"lines":[{"type":1,"closed":true,"points":[' % k
                    + ",".join(pts) + "]}]}")
        f.write("\n]}\n")


def timed(args):
    r = subprocess.run(["/usr/bin/time", "-v", *args], capture_output=True, text=True)
    if r.returncode != 0:
        raise SystemExit("failed: %s\n%s" % (" ".join(args), r.stderr[-2000:]))
    wall = re.search(r"Elapsed \(wall clock\) time \(h:mm:ss or m:ss\): (\S+)", r.stderr).group(1)
    seconds = sum(float(x) * 60 ** i for i, x in enumerate(reversed(wall.split(":"))))
    peak = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", r.stderr).group(1))
    return seconds, peak / 1024


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("zed")
    ap.add_argument("--pieces", type=int, default=1000)
    ap.add_argument("--points", type=int, default=10000)
    ap.add_argument("--dir")
    a = ap.parse_args()
    d = a.dir or tempfile.mkdtemp(prefix="zed-piece-bench-")
    os.makedirs(d, exist_ok=True)
    src = os.path.join(d, "pieces.json")
    generate(src, a.pieces, a.points)
    rows = []

    def run(label, args, read=None):
        s, mb = timed([a.zed, *args])
        cat = timed(["sh", "-c", 'cat "$0" >/dev/null', read])[0] if read else None
        size = os.path.getsize(read) / 2**20 if read else None
        rows.append((label, s, mb, size, cat))

    for ext in ["json", "dxf", "plt"]:
        out = os.path.join(d, "out." + ext)
        run("convert json -> " + ext, ["piece", "convert", src, out], None)
        run("convert %s -> json" % ext, ["piece", "convert", out, os.path.join(d, "back.json")], out)
        run("resample %s (spacing 2)" % ext, ["piece", "resample", "--spacing", "2", out, os.path.join(d, "r." + ext)], out)
    print("%d pieces x %d points, in %s" % (a.pieces, a.points, d))
    print("%-28s %9s %10s %9s %9s %8s" % ("run", "wall s", "peak MB", "input MB", "cat s", "x cat"))
    for label, s, mb, size, cat in rows:
        extra = ("%9.0f %9.2f %8.1f" % (size, cat, s / max(cat, 0.01))) if size else ""
        print("%-28s %9.2f %10.0f %s" % (label, s, mb, extra))
    if not a.dir:
        shutil.rmtree(d)


if __name__ == "__main__":
    main()
