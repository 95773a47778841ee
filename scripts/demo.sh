#!/usr/bin/env bash
# Sets up the machine, builds the library and the tool, and runs the main job: zed demo.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$ROOT/scripts/install-deps.sh"
say "Building (release)"
configure_and_build "$BUILD/release" -DCMAKE_BUILD_TYPE=Release -DZEDLL_TESTS=OFF -DZEDLL_BENCH=ON
say "zed demo"
cd "$BUILD/release"
exec "$BUILD/release/bin/zed" demo
