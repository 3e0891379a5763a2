#!/usr/bin/env bash
# Builds krovex and every test with AddressSanitizer and
# UndefinedBehaviorSanitizer (in build-asan) and runs them all: the unit,
# end-to-end and reliability tests and the fuzz corpus replays. Any report
# of either sanitizer stops the program that made it and fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-packages.sh clang libclang-rt-14-dev cmake make googletest libgtest-dev

sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all"
echo "== Sanitizer build (ASan, UBSan): every test"
CC=clang CXX=clang++ cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKROVEX_BUILD_TESTS=ON \
  -DCMAKE_CXX_FLAGS="$sanitize -fno-omit-frame-pointer -O1" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize" >/dev/null
cmake --build build-asan -j2
# A distinct exit code tells a sanitizer's stop from the tool's own statuses.
export ASAN_OPTIONS="detect_leaks=1:exitcode=99:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=99"
ctest --test-dir build-asan -j2 --output-on-failure
