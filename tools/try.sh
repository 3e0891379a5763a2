#!/usr/bin/env bash
# Installs what is missing, builds krovex and unpacks the sample archive.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-packages.sh g++ cmake make
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKROVEX_BUILD_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target krovex >/dev/null
rm -rf sample-out
# krovex works in its own folder, so give it absolute paths.
build/krovex "$PWD/examples/sample.bnd" "$PWD/sample-out" | tr -d '\r'
echo "exit status: ${PIPESTATUS[0]}"
echo "sample-out now holds:"
find sample-out | sort
