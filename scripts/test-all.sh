#!/usr/bin/env bash
# Every test of every leg: Linux native (sanitizers), Windows x86_64 under Wine, Windows i686 exports.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$ROOT/scripts/install-deps.sh"
mkdir -p "$BUILD"
export ZEDLL_RESULTS=$BUILD/results.txt
: > "$ZEDLL_RESULTS"

failed=()
for leg in native win64 i686; do
    start=$SECONDS
    if ! "$ROOT/scripts/test-$leg.sh"; then
        failed+=("$leg")
    fi
    echo "leg $leg took $((SECONDS - start))s"
done

say "Summary"
while IFS='|' read -r leg count seconds status; do
    printf '  %-30s %6s checked  %5ss  %s\n' "$leg" "$count" "$seconds" "$([ "$status" -eq 0 ] && echo passed || echo FAILED)"
done < "$ZEDLL_RESULTS"
if [ ${#failed[@]} -ne 0 ]; then
    echo "FAILED legs: ${failed[*]}"
    exit 1
fi
echo "All legs passed."
