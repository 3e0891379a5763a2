#!/usr/bin/env bash
# Builds the portable packages into dist/:
#   krovex-0.1-linux-x86_64.tar.gz  (krovex, README.md, LICENSE)
#   krovex-0.1-windows-x64.zip      (krovex.exe, README.md, LICENSE)
# each unpacking into one folder, krovex-0.1/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-packages.sh g++ cmake make g++-mingw-w64-x86-64

cmake -S . -B build-package-linux -DCMAKE_BUILD_TYPE=Release -DKROVEX_BUILD_TESTS=OFF >/dev/null
cmake --build build-package-linux -j"$(nproc)" --target krovex
cmake -S . -B build-package-windows -DCMAKE_BUILD_TYPE=Release -DKROVEX_BUILD_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake --no-warn-unused-cli >/dev/null
cmake --build build-package-windows -j"$(nproc)" --target krovex

mkdir -p dist
for build in build-package-linux build-package-windows; do
  (cd "$build" && cpack -B "$PWD/../dist" >/dev/null)
done
rm -rf dist/_CPack_Packages
ls -l dist
