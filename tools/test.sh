#!/usr/bin/env bash
# Installs what is missing, builds krovex and runs every test: the Linux
# build's unit and end-to-end tests, then krovex.exe's under wine.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-packages.sh g++ cmake make googletest libgtest-dev locales \
  g++-mingw-w64-x86-64 wine64

# Japanese locales for the code page 932 cases: ja_JP.SJIS for the Linux
# build, ja_JP.UTF-8 for wine (it makes wine's ANSI code page 932).
work=$(mktemp -d /tmp/krovex-test-XXXXXX)
export KROVEX_LOCPATH="$work/locales"
mkdir -p "$KROVEX_LOCPATH"
localedef -f UTF-8 -i ja_JP "$KROVEX_LOCPATH/ja_JP.UTF-8"
localedef -f SHIFT_JIS -i ja_JP "$KROVEX_LOCPATH/ja_JP.SJIS" 2>/dev/null ||
  test -d "$KROVEX_LOCPATH/ja_JP.SJIS"

export WINEPREFIX="$work/wine" WINEDEBUG=-all
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

echo "== Linux build: unit and end-to-end tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKROVEX_BUILD_TESTS=ON >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build -j"$(nproc)" --output-on-failure

echo "== Sanitizer build (ASan, UBSan): every test"
tools/test-sanitizers.sh
echo "== Fuzzing: each target for 60 s"
tools/fuzz.sh 60

echo "== Windows build: krovex.exe (build-win/krovex.exe)"
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-win -j"$(nproc)"
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1

echo "== Windows unit tests under wine, code page 932"
LC_ALL=ja_JP.UTF-8 LOCPATH="$KROVEX_LOCPATH" \
  ctest --test-dir build-win -j"$(nproc)" --output-on-failure
echo "== Windows unit tests under wine, code page 1252"
LC_ALL=C.UTF-8 ctest --test-dir build-win -j"$(nproc)" --output-on-failure

echo "== End-to-end tests of krovex.exe under wine"
KROVEX_TOOL="$PWD/build-win/krovex.exe" KROVEX_LAUNCHER=/usr/lib/wine/wine64 \
  KROVEX_TOOL_PATHS=windows LC_ALL=C.UTF-8 \
  ctest --test-dir build -L e2e -j"$(nproc)" --output-on-failure

echo "== Portable packages, Linux and Windows"
tools/test-packages.sh
