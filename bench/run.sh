#!/usr/bin/env bash
# Times krovex against GNU tar (and cp, for large data) on generated archives
# of the same files, and reports medians, ratios and peak memory.
#
#   bench/run.sh [--quick] [--runs N] [--keep]
#
# --quick  smaller workloads, fewer runs: well under a minute
# --runs N timed runs per command (default 12; 9 for the 1 GiB workload),
#          in 3 rounds
# --keep   leave the temporary folder in place
#
# Work happens in a new folder under $KROVEX_BENCH_DIR (default /var/tmp,
# which stays on disk where /tmp is a tmpfs); it is removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

quick=0
runs=""
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --quick) quick=1 ;;
    --runs) runs=$2; shift ;;
    --keep) keep=1 ;;
    *) echo "usage: bench/run.sh [--quick] [--runs N] [--keep]" >&2; exit 2 ;;
  esac
  shift
done

tools/install-packages.sh g++ cmake make hyperfine jq tar time coreutils

build=${KROVEX_BENCH_BUILD:-$repo/build-bench}
echo "== building krovex (Release) and the input generator in $build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKROVEX_BUILD_TESTS=OFF \
  -DKROVEX_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target krovex make_bench_archives >/dev/null

base=${KROVEX_BENCH_DIR:-/var/tmp}
work=$(mktemp -d "$base/krovex-bench.XXXXXX")
cleanup() {
  if [ "$keep" = 1 ]; then echo "kept $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
fs_type=$(df -PT "$work" | awk 'NR == 2 { print $2 }')
device=$(df -PT "$work" | awk 'NR == 2 { print $1 }')
[ "$fs_type" = tmpfs ] && echo "note: $base is a tmpfs (memory), not a disk; set KROVEX_BENCH_DIR to time a disk"

# krovex works in its own folder: it gets a copy there and absolute paths.
mkdir -p "$work/bin" "$work/in" "$work/out"
cp "$build/krovex" "$work/bin/krovex"
generate="$build/bench/make_bench_archives"
krovex="$work/bin/krovex"

# Each timed run starts from an empty output folder, its previous output
# deleted first, and sync keeps one run's write-back out of the next. Every
# command pays the same for that; kept instead, thousands of outputs would
# fill the page cache and the inode tables, and later runs would be slower
# than earlier ones.
cat >"$work/bin/fresh" <<'EOF2'
#!/bin/sh
rm -rf "$1"
mkdir -p "$1"
sync
EOF2
chmod +x "$work/bin/fresh"

rounds=3
if [ "$quick" = 1 ]; then
  large_mib=128; small=2000; small_base=200; nested=5; default_runs=6; large_runs=3
else
  large_mib=1024; small=20000; small_base=2000; nested=50; default_runs=12; large_runs=9
fi
[ -n "$runs" ] && default_runs=$runs && large_runs=$runs

echo "== generating inputs in $work/in ($fs_type on $device)"
"$generate" large "$work/in" "$large_mib" 4
"$generate" small "$work/in" "$small"
"$generate" nested "$work/in" "$nested" 200
mkdir -p "$work/in/base"
"$generate" small "$work/in/base" "$small_base"
tar -cf "$work/in/large.tar" -C "$work/in/large-tree" .
tar -cf "$work/in/small.tar" -C "$work/in/small-tree" .
tar -cf "$work/in/small-flat.tar" -C "$work/in/small-flat" .
tar -cf "$work/in/nested.tar" -C "$work/in/nested-tree" .
# The generator's folder trees are only the source of the tar archives.
rm -rf "$work/in/large-tree" "$work/in/small-tree" "$work/in/small-flat" \
  "$work/in/nested-tree" "$work/in/base/small-tree" "$work/in/base/small-flat"

results="$work/results.txt"
: >"$results"

# The directory area of an archive: the u32 at byte 20.
directory_bytes() { od -An -tu4 -j20 -N4 "$1" | tr -d ' '; }

# Peak resident set size, in KiB, of the largest of three runs.
peak_rss() {
  local fresh=$1 folder=$2; shift 2
  local peak=0 kib
  for _ in 1 2 3; do
    "$fresh" "$folder"
    /usr/bin/time -f %M -o "$work/rss" "$@" >"$work/stdout.txt"
    kib=$(tail -n 1 "$work/rss")
    [ "$kib" -gt "$peak" ] && peak=$kib
  done
  echo "$peak"
}

# time_commands <label> <runs> <fresh> (<name> <out> <command>)...: times
# every command in hyperfine runs of its own, standard output to a file.
# The runs are split into rounds, each a hyperfine run over all commands,
# every other one in reverse order, so that a change in the machine's load
# or state during the benchmark falls on every command alike.
time_commands() {
  local label=$1 count=$2 fresh=$3; shift 3
  local names=() outs=() commands=()
  while [ $# -gt 0 ]; do
    names+=("$1"); outs+=("$2"); commands+=("$3")
    shift 3
  done
  local per_round=$(((count + rounds - 1) / rounds))
  local round order i arguments
  echo "== $label: ${#names[@]} commands, $rounds rounds of $per_round runs after a warm-up"
  for round in $(seq "$rounds"); do
    order=$(seq 0 $((${#names[@]} - 1)))
    [ $((round % 2)) = 0 ] && order=$(echo "$order" | tac)
    arguments=()
    for i in $order; do
      arguments+=(-n "${names[$i]}" -p "$fresh ${outs[$i]}" "${commands[$i]}")
    done
    hyperfine -N --style basic --warmup 1 --runs "$per_round" --output="$work/stdout.txt" \
      --export-json "$work/$label-$round.json" "${arguments[@]}" |
      grep -E '^(Benchmark|  Time)' || true
  done
  for i in "${!names[@]}"; do
    jq -r --arg name "${names[$i]}" '.results[] | select(.command == $name) | .times[]' \
      "$work/$label"-*.json >"$work/$label-${names[$i]}.times"
  done
}

# median <label> <name>: the median in seconds of one command's timed runs.
median() {
  sort -g "$work/$1-$2.times" |
    awk '{ t[NR] = $1 } END { print NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2 }'
}

# fastest <label> <name>: the fastest of one command's timed runs, the one
# least disturbed by anything else the machine was doing.
fastest() { sort -g "$work/$1-$2.times" | head -n 1; }

# compare <label> <krovex name> <peer name> <target> <krovex rss> <peer rss> <dir bytes>
compare() {
  local k p kf pf
  k=$(median "$1" "$2")
  p=$(median "$1" "$3")
  kf=$(fastest "$1" "$2")
  pf=$(fastest "$1" "$3")
  awk -v label="$1$([ "$2" = krovex ] || echo " ($2)")" -v peer="$3" -v k="$k" -v p="$p" -v target="$4" \
    -v krss="$5" -v prss="$6" -v dir="$7" -v kf="$kf" -v pf="$pf" 'BEGIN {
      ratio = k / p
      verdict = target == "-" ? "" : (ratio <= target + 0 ? "met" : "NOT met")
      printf "| %s | %.1f ms | %s %.1f ms | %.2f | %s | %s | %.1f / %.1f ms: %.2f | %.1f MiB | %.1f MiB | %.2f MiB |\n",
        label, k * 1000, peer, p * 1000, ratio, (target == "-" ? "-" : "<= " target), verdict,
        kf * 1000, pf * 1000, kf / pf,
        krss / 1024, prss / 1024, (krss - dir / 1024) / 1024 }' >>"$results"
}

in=$work/in
out=$work/out

# W1: 1 GiB in four entries of 256 MiB, against tar and a cp of one file
# of the archive's size.
# krovex-aligned unpacks the same files from an archive whose entries' data
# begins at multiples of 4096 bytes, as a file's pages do: copying data that
# straddles pages costs the kernel more than copying whole pages.
# tar, much slower here, is timed in a run of its own, so that cp and krovex
# are timed side by side.
time_commands W1 "$large_runs" "$work/bin/fresh" \
  krovex "$out/w1k" "$krovex $in/large.bnd $out/w1k" \
  krovex-aligned "$out/w1a" "$krovex $in/large-aligned.bnd $out/w1a" \
  cp "$out/w1c" "cp $in/large.bnd $out/w1c/copy"
time_commands W1-tar "$large_runs" "$work/bin/fresh" \
  krovex "$out/w1k" "$krovex $in/large.bnd $out/w1k" \
  tar "$out/w1t" "tar -xf $in/large.tar -C $out/w1t"
diff -r "$out/w1k" "$out/w1t" >/dev/null || { echo "W1: krovex and tar made different files" >&2; exit 1; }
"$work/bin/fresh" "$out/w1a"
"$krovex" "$in/large-aligned.bnd" "$out/w1a" >/dev/null
diff -r "$out/w1a" "$out/w1t" >/dev/null || { echo "W1: krovex and tar made different files" >&2; exit 1; }
w1_krss=$(peak_rss "$work/bin/fresh" "$out/w1k" "$krovex" "$in/large.bnd" "$out/w1k")
w1_trss=$(peak_rss "$work/bin/fresh" "$out/w1t" tar -xf "$in/large.tar" -C "$out/w1t")
w1_crss=$(peak_rss "$work/bin/fresh" "$out/w1c" cp "$in/large.bnd" "$out/w1c/copy")
w1_dir=$(directory_bytes "$in/large.bnd")
compare W1 krovex cp 1.05 "$w1_krss" "$w1_crss" "$w1_dir"
compare W1 krovex-aligned cp - "$w1_krss" "$w1_crss" "$w1_dir"
compare W1-tar krovex tar - "$w1_krss" "$w1_trss" "$w1_dir"
rm -rf "$out/w1k" "$out/w1a" "$out/w1t" "$out/w1c"

# W2: many small files in folders, standard output to a file. The same run
# times W2 at a tenth of its entries, for the cost per entry.
time_commands W2 "$default_runs" "$work/bin/fresh" \
  krovex "$out/w2k" "$krovex $in/small.bnd $out/w2k" \
  tar "$out/w2t" "tar -xf $in/small.tar -C $out/w2t" \
  "krovex-$small_base" "$out/w2b" "$krovex $in/base/small.bnd $out/w2b"
diff -r "$out/w2k" "$out/w2t" >/dev/null || { echo "W2: krovex and tar made different files" >&2; exit 1; }
w2_krss=$(peak_rss "$work/bin/fresh" "$out/w2k" "$krovex" "$in/small.bnd" "$out/w2k")
w2_trss=$(peak_rss "$work/bin/fresh" "$out/w2t" tar -xf "$in/small.tar" -C "$out/w2t")
compare W2 krovex tar 0.8 "$w2_krss" "$w2_trss" "$(directory_bytes "$in/small.bnd")"
small_time=$(median W2 "krovex-$small_base")
large_time=$(median W2 krovex)
rm -rf "$out/w2k" "$out/w2t" "$out/w2b"

# W3: an archive of nested archives; tar gets the files krovex leaves, the
# nested archives included.
time_commands W3 "$default_runs" "$work/bin/fresh" \
  krovex "$out/w3k" "$krovex $in/nested.bnd $out/w3k" \
  tar "$out/w3t" "tar -xf $in/nested.tar -C $out/w3t"
diff -r "$out/w3k" "$out/w3t" >/dev/null || { echo "W3: krovex and tar made different files" >&2; exit 1; }
w3_krss=$(peak_rss "$work/bin/fresh" "$out/w3k" "$krovex" "$in/nested.bnd" "$out/w3k")
w3_trss=$(peak_rss "$work/bin/fresh" "$out/w3t" tar -xf "$in/nested.tar" -C "$out/w3t")
compare W3 krovex tar 0.8 "$w3_krss" "$w3_trss" "$(directory_bytes "$in/nested.bnd")"

# W4: W2 flattened with -x; tar gets the same files in one folder.
time_commands W4 "$default_runs" "$work/bin/fresh" \
  krovex "$out/w4k" "$krovex -x $in/small.bnd $out/w4k" \
  tar "$out/w4t" "tar -xf $in/small-flat.tar -C $out/w4t"
diff -r "$out/w4k" "$out/w4t" >/dev/null || { echo "W4: krovex and tar made different files" >&2; exit 1; }
w4_krss=$(peak_rss "$work/bin/fresh" "$out/w4k" "$krovex" -x "$in/small.bnd" "$out/w4k")
w4_trss=$(peak_rss "$work/bin/fresh" "$out/w4t" tar -xf "$in/small-flat.tar" -C "$out/w4t")
compare W4 krovex tar 0.8 "$w4_krss" "$w4_trss" "$(directory_bytes "$in/small.bnd")"

echo
echo "== results ($(date -u +%Y-%m-%d), $(nproc) cores, $(uname -sr), temporary folder on $fs_type ($device))"
echo "| workload | krovex median | peer median | ratio | target | | fastest runs: krovex / peer: ratio | krovex peak RSS | peer peak RSS | krovex RSS beyond directory area |"
echo "|---|---|---|---|---|---|---|---|---|---|"
cat "$results"
awk -v a="$small_time" -v b="$large_time" -v na="$small_base" -v nb="$small" 'BEGIN {
  pa = a / na * 1e6; pb = b / nb * 1e6
  printf "\nper entry: %.1f us at %d entries, %.1f us at %d entries: %.2f x (target <= 1.2: %s)\n",
    pa, na, pb, nb, pb / pa, (pb / pa <= 1.2 ? "met" : "NOT met") }'
