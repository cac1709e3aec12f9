#!/usr/bin/env bash
# Builds the game (Release) and starts it. Extra arguments go to the game (see --help).
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
tess_install_packages "${TESS_BUILD_PACKAGES[@]}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTESS_TESTS=OFF > /dev/null
cmake --build build -j"$(nproc)" --target tessarune gamedata
exec build/tessarune "$@"
