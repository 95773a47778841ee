#!/usr/bin/env bash
# NoUniformSpline (request 0) against SciPy's natural cubic spline on the same outlines, in one
# run, with the memory read bandwidth of that run. Needs a release build with benchmarks
# (-DZEDLL_BENCH=ON) and Debian's python3-scipy.
#   bench/run_curves_peer.sh [build dir, default build/release]
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${1:-$ROOT/build/release}
BENCH=$BUILD/bin/zedll_bench
[ -x "$BENCH" ] || { echo "run_curves_peer: no $BENCH (configure with -DZEDLL_BENCH=ON)" >&2; exit 1; }

# Debian's interpreter first: that is where python3-scipy installs.
PYTHON=
for candidate in /usr/bin/python3 python3; do
    if "$candidate" -c 'import scipy' 2>/dev/null; then PYTHON=$candidate; break; fi
done
[ -n "$PYTHON" ] || { echo "run_curves_peer: SciPy is missing (apt-get install python3-scipy)" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

ZEDLL_BENCH_OUTLINE_DIR=$tmp "$BENCH" --benchmark_filter='^BM_(NoUniformSpline/[0-9]+|MemoryRead)$' \
    --benchmark_format=json > "$tmp/ours.json"
"$PYTHON" "$ROOT/bench/peers/spline_scipy.py" "$tmp" > "$tmp/scipy.txt"

"$PYTHON" - "$tmp/ours.json" "$tmp/scipy.txt" <<'PY'
import json, sys
ours = json.load(open(sys.argv[1]))["benchmarks"]
bandwidth = next(b["bytes_per_second"] for b in ours if b["name"] == "BM_MemoryRead") / 1e9
per_point = {int(b["name"].split("/")[1]): b["per_point"] * 1e9 for b in ours if b["name"].startswith("BM_NoUniformSpline/")}
print("memory read bandwidth: %.1f GB/s" % bandwidth)
print("%10s %18s %18s %8s" % ("points", "ours ns/point", "SciPy ns/point", "ratio"))
for line in open(sys.argv[2]):
    _, n, scipy_ns = line.split()
    n, scipy_ns = int(n), float(scipy_ns)
    print("%10d %18.1f %18.1f %7.1fx" % (n, per_point[n], scipy_ns, scipy_ns / per_point[n]))
PY
