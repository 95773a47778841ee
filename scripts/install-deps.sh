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
# Wait for another apt run (another checkout installing at the same time) instead of failing.
apt="apt-get -o DPkg::Lock::Timeout=600"
$sudo $apt update -qq
$sudo $apt install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
