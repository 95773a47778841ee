#!/usr/bin/env bash
# Linux x86_64 leg: the tests under AddressSanitizer and UndefinedBehaviorSanitizer, the thread
# tests under ThreadSanitizer, the fuzz smoke, the tool, the visible symbols of the shared
# library, and a consumer built against the installed package.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# The tests whose objects are shared between threads: queues and the named system objects.
TSAN_TESTS='FifoThreads.*:SystemObjects.*'

say "native: Windows headers and platform switches in their rooms"
"$ROOT/scripts/check_layout.sh"

say "native: build with sanitizers"
configure_and_build "$BUILD/asan" -DCMAKE_BUILD_TYPE=Debug -DZEDLL_SANITIZE=ON
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

say "native: zedll_tests"
run_gtest "native (ASan+UBSan)" "$BUILD/asan/zedll_tests.log" "$BUILD/asan" 20 ./bin/zedll_tests

say "native: zed piece files and commands"
run_gtest "native zed piece (ASan+UBSan)" "$BUILD/asan/zed_piece_tests.log" "$BUILD/asan" 5 ./bin/zed_piece_tests
# Debian's own Python, which has ezdxf; the command line and the DXF peer.
/usr/bin/python3 "$ROOT/tests/tools/piece_cli.py" "$BUILD/asan/bin/zed" "$ROOT/tools/zed/samples" 2>&1 | tail -n 3

say "native: thread tests under ThreadSanitizer"
# Only the test binary is built here, and only the tests that share objects between threads run.
cmake -S "$ROOT" -B "$BUILD/tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZEDLL_TSAN=ON -DZEDLL_TOOL=OFF >/dev/null
cmake --build "$BUILD/tsan" --parallel "$JOBS" --target zedll_tests
log=$BUILD/tsan/zedll_tests.log
start=$SECONDS
status=0
(cd "$BUILD/tsan" && TSAN_OPTIONS="halt_on_error=1:suppressions=$ROOT/tests/tsan_suppressions.txt" \
    ./bin/zedll_tests --gtest_brief=1 --gtest_filter="$TSAN_TESTS") 2>&1 | tee "$log" | tail -n 20 || true
grep -q '^\[  PASSED  \]' "$log" && ! grep -q '^\[  FAILED  \]\|ThreadSanitizer' "$log" || status=1
record_gtest "native (TSan, threads)" "$log" $((SECONDS - start)) $status
[ $status -eq 0 ]

say "native: fuzz targets, a short regression run over their corpora"
log=$BUILD/fuzz-smoke.log
start=$SECONDS
status=0
"$ROOT/scripts/fuzz-smoke.sh" 2>&1 | tee "$log" | grep -E '^fuzz smoke|^==|ERROR' || true
grep -q '^fuzz smoke .*FAILED' "$log" && status=1
targets=$(grep -c '^fuzz smoke ' "$log" || true)
[ "$targets" -gt 0 ] || status=1
printf '%s: %s targets, %ss, %s\n' "native fuzz smoke" "$targets" $((SECONDS - start)) \
    "$([ $status -eq 0 ] && echo passed || echo FAILED)"
if [ -n "${ZEDLL_RESULTS:-}" ]; then
    printf '%s|%s|%s|%s\n' "native fuzz smoke" "$targets" $((SECONDS - start)) $status >> "$ZEDLL_RESULTS"
fi
[ $status -eq 0 ]

say "native: zed demo under the sanitizers"
(cd "$BUILD/asan" && ./bin/zed demo >/dev/null)

say "native: release build, visible symbols"
configure_and_build "$BUILD/release" -DCMAKE_BUILD_TYPE=Release -DZEDLL_TESTS=OFF -DZEDLL_BENCH=ON
python3 "$ROOT/scripts/check_exports.py" elf nm "$BUILD/release/lib/libzedll.so"

say "native: consumer of the installed package"
prefix=$BUILD/stage
rm -rf "$prefix" "$BUILD/consumer"
cmake --install "$BUILD/release" --prefix "$prefix" >/dev/null
cmake -S "$ROOT/tests/consumer" -B "$BUILD/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$BUILD/consumer"
"$BUILD/consumer/consumer"
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
g++ -std=c++17 -o "$BUILD/consumer/consumer_pc" "$ROOT/tests/consumer/main.cpp" $(pkg-config --cflags --libs zedll)
LD_LIBRARY_PATH=$prefix/lib "$BUILD/consumer/consumer_pc"
echo "consumer: the installed package builds and runs through CMake and pkg-config"
# The installed tool finds its library through its own run path.
(cd "$BUILD/consumer" && env -u LD_LIBRARY_PATH "$prefix/bin/zed" piece info "$ROOT/tools/zed/samples/blouse.json" | head -n 1)
env -u LD_LIBRARY_PATH "$prefix/bin/zed" --version
