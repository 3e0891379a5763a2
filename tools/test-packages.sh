#!/usr/bin/env bash
# Builds both portable packages, unpacks each into a fresh folder, puts the
# sample archive beside the tool and runs it from another working folder with
# relative arguments, as a user would: the Linux one natively, the Windows
# one under wine. Both must write the same files and print the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-packages.sh unzip wine64
tools/package.sh >/dev/null

work=$(mktemp -d /tmp/krovex-packages-XXXXXX)
export WINEPREFIX="${WINEPREFIX:-$work/wine}" WINEDEBUG=-all
trap 'rm -rf "$work"' EXIT

expected="data/
data/config.ini
data/maps.bnd
data/sound/
data/sound/title.wav
maps/
maps/castle.map
maps/forest.map
readme.txt"

check_package() {  # name, folder holding krovex-0.1, tool file, launcher...
  local name=$1 unpacked=$2 tool=$3
  shift 3
  local folder="$unpacked/krovex-0.1"
  for file in "$tool" README.md LICENSE; do
    [ -f "$folder/$file" ] || { echo "$name: $file missing from the package"; exit 1; }
  done
  cp examples/sample.bnd "$folder/"
  mkdir -p "$work/elsewhere-$name"
  local status=0
  (cd "$work/elsewhere-$name" && "$@" "$folder/$tool" sample.bnd out >"$work/$name.out") || status=$?
  [ "$status" -eq 0 ] || { echo "$name: exit status $status"; cat "$work/$name.out"; exit 1; }
  local made
  made=$(cd "$folder/out" && find . -mindepth 1 \( -type d -printf '%P/\n' -o -printf '%P\n' \) | LC_ALL=C sort)
  [ "$made" = "$expected" ] || { echo "$name: unexpected output files:"; echo "$made"; exit 1; }
  [ -z "$(ls -A "$work/elsewhere-$name")" ] || { echo "$name: wrote into the working folder"; exit 1; }
  echo "$name package: OK"
}

mkdir -p "$work/linux" "$work/windows"
tar -xzf dist/krovex-0.1-linux-x86_64.tar.gz -C "$work/linux"
unzip -q dist/krovex-0.1-windows-x64.zip -d "$work/windows"
check_package linux "$work/linux" krovex env
check_package windows "$work/windows" krovex.exe /usr/lib/wine/wine64

diff -r "$work/linux/krovex-0.1/out" "$work/windows/krovex-0.1/out"
cmp "$work/linux.out" "$work/windows.out"
echo "both packages write the same files and print the same bytes"
