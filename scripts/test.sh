#!/usr/bin/env bash
# Builds everything and runs every test with ctest; exits non-zero on any failure.
#   build/       g++: unit, user-interface and tool tests, fuzz corpora replayed
#   build-fuzz/  clang: libFuzzer targets with AddressSanitizer and UBSan, corpora replayed
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"

bash scripts/build.sh
ctest --test-dir build --output-on-failure -j "$jobs"

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCORVID_LIBFUZZER=ON -DCORVID_FUZZ_ONLY=ON \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined" \
    >/dev/null
cmake --build build-fuzz -j "$jobs"
ctest --test-dir build-fuzz --output-on-failure -j "$jobs"
echo "test: every test passed"
