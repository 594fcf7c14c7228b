#!/usr/bin/env bash
# Installs Quorlet V4.06 on a simulated Windows NT 4 machine (winsim) and
# shows what the installer did: the transcript of its windows, then the
# files, registry values, links and Path it left.
#   scripts/simulate.sh [--platform 95|98|nt4|2000|xp] [--language 0x040C] [--answers FILE]
set -euo pipefail
cd "$(dirname "$0")/.."

platform=nt4
language=0x0409
answers=()
while [ $# -gt 0 ]; do
  case "$1" in
    --platform) platform=$2; shift 2 ;;
    --language) language=$2; shift 2 ;;
    --answers) answers=(--answers "$(realpath "$2")"); shift 2 ;;
    *) echo "usage: scripts/simulate.sh [--platform P] [--language 0xLLLL] [--answers FILE]" >&2; exit 2 ;;
  esac
done

scripts/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/host >/dev/null
cmake --build build/host -j"$jobs" --target install-sim make-sample-machine >/dev/null

machine=build/sample-$platform
rm -rf "$machine"
build/host/make-sample-machine "$machine" --platform "$platform" --language "$language"

echo
echo "== The run (one line per event)"
status=0
build/host/install-sim "$machine" --summary "${answers[@]}" | grep -v -E '^(paint|control|progress) ' || status=$?

c="$machine/drives/c"
echo "== Files in the destination folder"
dest="$c/Program Files/Quorlet V4.06"
if [ -d "$dest" ]; then
  (cd "$dest" && ls | column -c 100); echo "($(ls "$dest" | wc -l) files)"
else
  echo "(none)"
fi
echo "== Uninstaller copy"
find "$c" -maxdepth 2 -iname 'Remvex*.exe' | sed "s|$c|C:|"
echo "== Links"
while IFS= read -r -d '' link; do
  echo "${link#$c/}"
  if command -v lnkinfo >/dev/null; then
    lnkinfo "$link" 2>/dev/null | grep -E 'Local path|Command line arguments|Description' | sed 's/^\t*/    /'
  fi
done < <(find "$c" -name '*.lnk' -print0 | sort -z)
echo
echo "The machine is in $machine (machine.ini, drives/, registry.reg); docs/install-sim.md describes it."
exit $status
