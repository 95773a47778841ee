# Sourced by the fuzz scripts: configures and builds the libFuzzer targets in $BUILD/fuzz, and
# writes the inputs too big to keep in the repository.
FUZZ_DIR=$BUILD/fuzz

fuzz_build() {   # targets...
    cmake -S "$ROOT" -B "$FUZZ_DIR" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEDLL_FUZZ=ON -DZEDLL_TESTS=OFF -DZEDLL_TOOL=OFF >/dev/null
    cmake --build "$FUZZ_DIR" --parallel "$JOBS" --target "$@"
    python3 "$ROOT/fuzz/deep_hive.py" "$FUZZ_DIR/generated/hive" "$FUZZ_DIR/generated/reg_store"
}
