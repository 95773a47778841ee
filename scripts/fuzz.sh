#!/usr/bin/env bash
# Runs one fuzz target long: fuzz.sh TARGET SECONDS (at most ZEDLL_FUZZ_RUNS executions, 10^6 by
# default). It grows a working corpus in the build tree from the seeds in fuzz/corpus/TARGET and
# saves every new crasher, hang or memory blow-up into fuzz/corpus/TARGET as a regression input.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

if [ $# -ne 2 ]; then
    echo "usage: fuzz.sh TARGET SECONDS   (targets: $(cd "$ROOT/fuzz" && ls *_fuzz.cpp | sed 's/_fuzz.cpp//' | tr '\n' ' '))" >&2
    exit 2
fi
target=$1 seconds=$2 runs=${ZEDLL_FUZZ_RUNS:-1000000}
source "$ROOT/scripts/fuzz-build.sh"
fuzz_build "fuzz_$target"

work=$FUZZ_DIR/work/$target artifacts=$FUZZ_DIR/artifacts/$target
mkdir -p "$work" "$artifacts"
dict=()
[ -f "$ROOT/fuzz/$target.dict" ] && dict=(-dict="$ROOT/fuzz/$target.dict")
generated=()
[ -d "$FUZZ_DIR/generated/$target" ] && generated=("$FUZZ_DIR/generated/$target")

say "fuzz: $target for ${seconds}s (at most $runs executions)"
status=0
(cd "$artifacts" && "$FUZZ_DIR/fuzz/fuzz_$target" -jobs=1 -workers=1 -max_total_time="$seconds" \
    -runs="$runs" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "${dict[@]}" \
    -artifact_prefix="$artifacts/" "$work" "$ROOT/fuzz/corpus/$target" "${generated[@]}" \
    >/dev/null 2>&1) || status=$?
log=$artifacts/fuzz-0.log
grep -E '^#[0-9]+.*(INITED|DONE)|^stat::|ERROR|fuzz check failed|SUMMARY' "$log" | tail -n 12 || true

found=0
for crasher in "$artifacts"/crash-* "$artifacts"/timeout-* "$artifacts"/oom-* "$artifacts"/leak-*; do
    [ -e "$crasher" ] || continue
    cp "$crasher" "$ROOT/fuzz/corpus/$target/regress-$(basename "$crasher")"
    echo "fuzz: saved $(basename "$crasher") into fuzz/corpus/$target"
    rm -f "$crasher"
    found=1
done
[ $found -eq 0 ] && [ $status -eq 0 ]
