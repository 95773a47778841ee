#!/usr/bin/env bash
# The regression smoke of the fuzz targets: each replays its seeds and saved crashers, then runs a
# fixed number of mutations. Prints one line per target; fails on any finding.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$ROOT/scripts/fuzz-build.sh"
RUNS=${ZEDLL_FUZZ_SMOKE_RUNS:-1000}

targets=$(cd "$ROOT/fuzz" && ls *_fuzz.cpp | sed 's/_fuzz\.cpp$//')
fuzz_build $(for t in $targets; do echo "fuzz_$t"; done)

failed=0
for target in $targets; do
    # New units go to a throwaway first folder, never into the checked-in corpus.
    scratch=$FUZZ_DIR/smoke/$target
    rm -rf "$scratch" && mkdir -p "$scratch"
    dict=()
    [ -f "$ROOT/fuzz/$target.dict" ] && dict=(-dict="$ROOT/fuzz/$target.dict")
    generated=()
    [ -d "$FUZZ_DIR/generated/$target" ] && generated=("$FUZZ_DIR/generated/$target")
    log=$FUZZ_DIR/smoke/$target.log
    start=$SECONDS
    if (cd "$scratch" && "$FUZZ_DIR/fuzz/fuzz_$target" -runs="$RUNS" -seed=1 -timeout=10 \
            -rss_limit_mb=2048 "${dict[@]}" -artifact_prefix="$scratch/" "$scratch" \
            "$ROOT/fuzz/corpus/$target" "${generated[@]}") >"$log" 2>&1; then
        echo "fuzz smoke $target: $(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1), $((SECONDS - start))s"
    else
        echo "fuzz smoke $target: FAILED, see $log"; tail -n 30 "$log"
        failed=1
    fi
done
exit $failed
