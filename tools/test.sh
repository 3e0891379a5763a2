#!/usr/bin/env bash
# Installs what is missing, builds krovex and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-packages.sh g++ cmake make googletest libgtest-dev

echo "== Linux build: unit and end-to-end tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKROVEX_BUILD_TESTS=ON >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build -j"$(nproc)" --output-on-failure
