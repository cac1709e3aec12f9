#!/usr/bin/env bash
# Builds the game and runs every test: the unit and scene tests, the OpenGL device tests on
# the software renderer, the fuzz targets replayed over their corpora, and a short soak of
# random play (the last two in the clang build with ASan and UBSan), and the Debian package
# installed and played (into this machine when TESS_SYSTEM_INSTALL=1 and root, as CI does;
# else unpacked into a scratch root). Every test has a timeout.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
tess_install_packages "${TESS_BUILD_PACKAGES[@]}" "${TESS_TEST_PACKAGES[@]}" \
    "${TESS_PACKAGE_PACKAGES[@]}"
jobs="$(nproc)"

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTESS_TESTS=ON > /dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 300
scripts/package_check.sh ${TESS_SYSTEM_INSTALL:+--system}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DTESS_FUZZERS=ON -DCMAKE_BUILD_TYPE=Debug > /dev/null
cmake --build build-fuzz -j"$jobs"
ctest --test-dir build-fuzz --output-on-failure -j"$jobs" --timeout 300
scripts/soak.sh 0.5
