#!/usr/bin/env python3
"""Peer of NoUniformSpline with request 0: SciPy's natural cubic spline on chord length.

For each outline file written by the curve benchmark (outline_<n>.bin: int32 n, float32 x[n],
float32 y[n], uint8 corner[n]) it times, end to end, what request 0 computes: the cumulative chord
length, CubicSpline(bc_type='natural') through x and y on it, and the evaluation at the 2n - 1
parameters (every knot and every chord's middle). One spline over the whole outline: fewer and
longer solves than our run-by-run splitting at corners, which favours the peer.
Prints one line per outline: "scipy <n> <ns per input point>", the median of five timings.
"""
import pathlib
import statistics
import sys
import time

import numpy as np
from scipy.interpolate import CubicSpline

REPEATS = 5


def load(path):
    raw = path.read_bytes()
    n = int(np.frombuffer(raw, dtype="<i4", count=1)[0])
    xy = np.frombuffer(raw, dtype="<f4", count=2 * n, offset=4).reshape(2, n)
    return n, np.ascontiguousarray(xy.T.astype(np.float64))


def spline_request0(points):
    chord = np.hypot(np.diff(points[:, 0]), np.diff(points[:, 1]))
    keep = np.concatenate(([True], chord > 0))   # repeated points would break the knots
    points, chord = points[keep], chord[chord > 0]
    t = np.concatenate(([0.0], np.cumsum(chord)))
    curve = CubicSpline(t, points, axis=0, bc_type="natural")
    params = np.empty(2 * len(t) - 1)
    params[0::2] = t
    params[1::2] = 0.5 * (t[:-1] + t[1:])
    return curve(params).astype(np.float32)


def main():
    folder = pathlib.Path(sys.argv[1])
    files = sorted(folder.glob("outline_*.bin"), key=lambda p: int(p.stem.split("_")[1]))
    if not files:
        sys.exit("spline_scipy: no outline files in %s" % folder)
    for path in files:
        n, points = load(path)
        runs = max(1, int(2e6 // n))   # about 2 million points a timing
        timings = []
        for _ in range(REPEATS):
            start = time.perf_counter()
            for _ in range(runs):
                spline_request0(points)
            timings.append((time.perf_counter() - start) / runs)
        print("scipy %d %.1f" % (n, statistics.median(timings) / n * 1e9))


if __name__ == "__main__":
    main()
