#!/usr/bin/env bash
# Windows x86_64 leg: cross-built with MinGW-w64, the tests and the tool run under Wine on Xvfb.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

say "win64: cross build"
configure_and_build "$BUILD/win64" -DCMAKE_BUILD_TYPE=Release -DZEDLL_TESTS=ON \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchains/mingw-x86_64.cmake"
python3 "$ROOT/scripts/check_exports.py" imports x86_64-w64-mingw32-objdump "$BUILD/win64/bin/ZEDLL.dll"

# A throwaway Wine prefix for every run: no state leaks between runs or into the user's own.
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/zedll-wine.XXXXXX")
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver_bin=$(dirname "$WINE64")/wineserver; "$wineserver_bin" -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT

run_wine() {
    timeout -k 10 "$WINE_TIMEOUT" xvfb-run -a -s '-screen 0 1280x1024x24' "$WINE64" "$@"
}

# No window manager runs on Xvfb: Wine's own frames, and no two-second wait for a manager to
# withdraw every window that is hidden or destroyed. This first run creates the prefix; it runs on
# a display too, since the desktop process it starts would otherwise live on without one and no
# later window could be created. The wait lets that process end with its display.
run_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
"$(dirname "$WINE64")/wineserver" -w || true

say "win64: zedll_tests.exe under Wine"
run_gtest "win64 (Wine)" "$BUILD/win64/zedll_tests.log" "$BUILD/win64/bin" 20 run_wine ./zedll_tests.exe

say "win64: screenshots"
# The tests save the painted screen as BMP files, ImageMagick makes the PNG files.
shots=$BUILD/win64/screenshots
mkdir -p "$shots"
rm -f "$shots"/*.bmp "$shots"/*.png
# The pictures are for people to look at; the tests' checks already ran in the suite above, so a
# picture that could not be taken is reported, not counted as a failed leg.
if (cd "$BUILD/win64/bin" && ZEDLL_SCREENSHOT_DIR="Z:${shots//\//\\}" \
        run_wine ./zedll_tests.exe --gtest_filter='*Screenshot*' --gtest_brief=1) 2>&1 |
        tr -d '\r' | grep -v '^ALSA' | tail -n 3; then
    for shot in magnifier menubar menubar-bar message-box splash; do
        if [ -s "$shots/$shot.bmp" ] && convert "$shots/$shot.bmp" "$shots/$shot.png"; then
            rm -f "$shots/$shot.bmp"
            echo "screenshot: $shots/$shot.png"
        else
            echo "win64: WARNING: no screenshot $shot was taken"
        fi
    done
else
    echo "win64: WARNING: the screenshot run failed; no pictures this time"
fi

say "win64: consumer of the installed package, under Wine"
# The installed package is left in build/win64-prefix (include/, lib/ with the import library and
# lib/cmake/ZEDLL, bin/ with ZEDLL.dll), as on Linux.
prefix=$BUILD/win64-prefix
rm -rf "$prefix" "$BUILD/win64-consumer"
cmake --install "$BUILD/win64" --prefix "$prefix" >/dev/null
cmake -S "$ROOT/tests/consumer" -B "$BUILD/win64-consumer" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchains/mingw-x86_64.cmake" \
    -DZEDLL_DIR="$prefix/lib/cmake/ZEDLL" >/dev/null
cmake --build "$BUILD/win64-consumer"
cp "$prefix/bin/ZEDLL.dll" "$BUILD/win64-consumer/"
(cd "$BUILD/win64-consumer" && run_wine ./consumer.exe) 2>&1 | tr -d '\r' | grep -v '^ALSA' | tee "$BUILD/win64-consumer/run.log"
grep -q '^consumer: ok$' "$BUILD/win64-consumer/run.log"

say "win64: zed.exe demo through the real DLL"
(cd "$BUILD/win64/bin" && run_wine ./zed.exe demo) | tr -d '\r' | head -n 3

say "win64: zed piece under Wine"
run_gtest "win64 zed piece (Wine)" "$BUILD/win64/zed_piece_tests.log" "$BUILD/win64/bin" 5 run_wine ./zed_piece_tests.exe
work=$BUILD/win64/piece-run
rm -rf "$work" && mkdir -p "$work"
cp "$ROOT/tools/zed/samples/blouse.json" "$work/"
(
    cd "$work"
    zed=$BUILD/win64/bin/zed.exe
    run_wine "$zed" piece convert blouse.json blouse.dxf
    run_wine "$zed" piece convert blouse.json blouse.plt
    run_wine "$zed" piece resample --spacing 5 blouse.plt resampled.json
    run_wine "$zed" piece svg resampled.json resampled.svg
    run_wine "$zed" piece info blouse.plt | tr -d '\r' | head -n 1
    # This build reads no DXF: a clear refusal with status 1.
    status=0
    run_wine "$zed" piece info blouse.dxf 2>refusal.txt >/dev/null || status=$?
    tr -d '\r' < refusal.txt
    [ $status -eq 1 ] && grep -q 'cannot read DXF' refusal.txt
)
echo "zed.exe piece: converts, resamples and draws under Wine"
