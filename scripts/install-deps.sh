#!/usr/bin/env bash
# Installs everything the builds, tests and the tool need on Debian 12 (idempotent).
set -euo pipefail

packages=(
    cmake ninja-build g++ make pkg-config python3 binutils
    googletest libgtest-dev libbenchmark-dev libcli11-dev
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
    wine64 xvfb xauth
    # Screenshots of the Windows leg: ImageMagick writes the PNG.
    imagemagick
    zlib1g-dev libssl-dev
    clang libclang-rt-14-dev
    # zed piece: JSON and DXF reading, the DXF peer in the tests, SVG to PNG.
    nlohmann-json3-dev libdxflib-dev python3-ezdxf librsvg2-bin
    # The JSON Schema of the piece files, checked against what zed writes.
    python3-jsonschema
    # /usr/bin/time -v for the piece-file benchmark
    time
    # The curve benchmark's peer (bench/run_curves_peer.sh).
    python3-scipy
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "install-deps: run as root to install: ${missing[*]}" >&2; exit 1; }
    sudo=sudo
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# Another build may be installing at the same time: wait for the package lock.
$sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
$sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
