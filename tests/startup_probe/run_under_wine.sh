#!/bin/sh
# Runs StartupProbe.EXE under Wine, in a Wine prefix of its own, and compares
# what it wrote down with expected.log: the global application object is
# built before the framework runs and destroyed at exit, in order.
# Usage: run_under_wine.sh PROBE EXPECTED WORK_DIR
# Exit 77 (skipped) when Wine is not installed.
set -u
probe=$1
expected=$2
work=$3

command -v wine >/dev/null 2>&1 || { echo "Wine is not installed: skipped"; exit 77; }
[ -f "$probe" ] || { echo "$probe is missing: build the Windows build first (scripts/build.sh)"; exit 1; }

rm -rf "$work"
mkdir -p "$work"
WINEPREFIX="$work/prefix"
WINEARCH=win32
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES
unset DISPLAY

# Wine maps the host's root to drive Z.
wine "$probe" "Z:$work/probe.log" >"$work/wine.out" 2>&1
code=$?
wineserver -k >/dev/null 2>&1

status=0
if [ "$code" -ne 7 ]; then
  echo "exit code $code, expected 7 (what ExitInstance returned)"
  cat "$work/wine.out"
  status=1
fi
if ! diff -u "$expected" "$work/probe.log"; then
  echo "the probe's record differs from $expected"
  status=1
fi
[ "$status" -eq 0 ] && echo "StartupProbe.EXE under Wine: construction, run and destruction in order"
exit "$status"
