# Shared by the build and test scripts: paths, timing and the tool locations.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ZEDLL_BUILD_DIR:-$ROOT/build}
JOBS=${ZEDLL_JOBS:-$(nproc)}
WINE64=${WINE64:-/usr/lib/wine/wine64}
# Every run under Wine has a time limit, so that a window left open fails instead of hanging.
WINE_TIMEOUT=${ZEDLL_WINE_TIMEOUT:-600}

say() { printf '\n== %s\n' "$*"; }

configure_and_build() {   # dir, cmake arguments...
    local dir=$1; shift
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" --parallel "$JOBS"
}

# Runs a GoogleTest binary and appends "name tests seconds status" to $ZEDLL_RESULTS if set.
record_gtest() {   # leg name, log file, seconds, status
    local leg=$1 log=$2 seconds=$3 status=$4 count
    count=$(sed -n 's/.*\[==========\] \([0-9]*\) tests\{0,1\} from .* ran.*/\1/p' "$log" | tail -n 1)
    printf '%s: %s tests, %ss, %s\n' "$leg" "${count:-0}" "$seconds" \
        "$([ "$status" -eq 0 ] && echo passed || echo FAILED)"
    if [ -n "${ZEDLL_RESULTS:-}" ]; then
        printf '%s|%s|%s|%s\n' "$leg" "${count:-0}" "$seconds" "$status" >> "$ZEDLL_RESULTS"
    fi
}

# Runs a GoogleTest binary from a folder, keeps its log, shows its last lines and records the
# result; returns non-zero unless the binary passed.
run_gtest() {   # leg name, log file, folder, lines to show, command...
    local leg=$1 log=$2 dir=$3 lines=$4 start=$SECONDS status=0
    shift 4
    (cd "$dir" && "$@" --gtest_brief=1) 2>&1 | tr -d '\r' | tee "$log" | tail -n "$lines" || true
    grep -q '^\[  PASSED  \]' "$log" && ! grep -q '^\[  FAILED  \]' "$log" || status=1
    record_gtest "$leg" "$log" $((SECONDS - start)) $status
    [ $status -eq 0 ]
}
