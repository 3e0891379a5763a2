#!/usr/bin/env bash
# Builds the libFuzzer targets (in build-fuzz, with clang, ASan and UBSan)
# and runs each for a bounded time on a copy of its corpus, so the
# checked-in corpus does not grow.
#   tools/fuzz.sh [seconds per target, default 60]
# A finding fails the run; its input is kept in build-fuzz/findings/ and
# printed as hex. Make it a corpus file (fuzz/corpus/<target>/) and a
# regression test once the fault is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
tools/install-packages.sh clang libclang-rt-14-dev cmake make

sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug \
  -DKROVEX_BUILD_TESTS=OFF -DKROVEX_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="$sanitize -fsanitize=fuzzer-no-link -fno-omit-frame-pointer -O1" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize" >/dev/null
cmake --build build-fuzz -j2 --target fuzz_walk fuzz_extract

work="$(mktemp -d /tmp/krovex-fuzz-run-XXXXXX)"
trap 'rm -rf "$work"' EXIT
mkdir -p build-fuzz/findings
failed=0
for target in walk extract; do
  echo "== fuzz_$target for ${seconds} s"
  cp -r "fuzz/corpus/$target" "$work/corpus-$target"
  log="$work/log-$target"
  mkdir -p "$work/tmp-$target"
  if TMPDIR="$work/tmp-$target" build-fuzz/fuzz/"fuzz_$target" "$work/corpus-$target" -dict=fuzz/bnd.dict \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
      -artifact_prefix="build-fuzz/findings/$target-" -print_final_stats=1 2>"$log"; then
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" || true
  else
    failed=1
    tail -n 60 "$log"
    for finding in build-fuzz/findings/"$target"-*; do
      [ -f "$finding" ] || continue
      echo "-- $finding:"
      od -An -tx1 -v "$finding" | head -n 64
    done
  fi
done
if [ "$failed" -ne 0 ]; then
  echo "fuzzing found faults: see above"
  exit 1
fi
echo "fuzzing found no faults"
