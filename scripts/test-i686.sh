#!/usr/bin/env bash
# Windows i686 leg: the real 32-bit DLL. It cannot run here; the build proves the packed layouts
# (compile-time checks), and its export table must equal the export list in exports/*.txt.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

say "i686: cross build (library, tool and tests compile for 32 bits)"
configure_and_build "$BUILD/i686" -DCMAKE_BUILD_TYPE=Release -DZEDLL_TESTS=ON \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchains/mingw-i686.cmake"

say "i686: export table of ZEDLL.dll"
start=$SECONDS
status=0
python3 "$ROOT/scripts/check_exports.py" pe i686-w64-mingw32-objdump "$BUILD/i686/bin/ZEDLL.dll" || status=1
# The tool links through the import library: it must import the decorated names.
i686-w64-mingw32-objdump -p "$BUILD/i686/bin/zed.exe" > "$BUILD/i686/zed-imports.txt"
grep -q '_DistancePoints@8' "$BUILD/i686/zed-imports.txt" || {
    echo "zed.exe does not import _DistancePoints@8 from ZEDLL.dll"; status=1; }
count=$(cat "$ROOT"/exports/*.txt "$ROOT"/exports/win32/*.txt 2>/dev/null | grep -vcE '^\s*(#|$)')
printf 'i686 (exports): %s names, %ss, %s\n' "$count" $((SECONDS - start)) "$([ $status -eq 0 ] && echo passed || echo FAILED)"
[ -z "${ZEDLL_RESULTS:-}" ] || printf 'i686 (export names)|%s|%s|%s\n' "$count" $((SECONDS - start)) "$status" >> "$ZEDLL_RESULTS"
exit $status
