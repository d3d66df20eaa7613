#!/usr/bin/env bash
# Installs the Debian 12 packages that Corvid needs to build, test, fuzz and run, skipping
# those already present. Runs as root, or through sudo when it is available.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config          # the build
    qt6-base-dev qt6-qpa-plugins              # the user interface (Widgets, PrintSupport)
    fonts-dejavu-core                         # a fixed-pitch font for offscreen tests
    libgtest-dev libgmock-dev                 # tests
    libbenchmark-dev                          # benchmarks
    clang libclang-rt-14-dev                  # libFuzzer and sanitizers
    binutils-m68hc1x                          # GNU as for m68hc11: the assembler's reference
    xdg-utils                                 # opening the help page in the desktop's browser
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: every package is present"
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "install-deps: run as root to install: ${missing[*]}" >&2
        exit 1
    fi
    as_root=(sudo)
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"; then
    "${as_root[@]}" apt-get update -q
    "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
