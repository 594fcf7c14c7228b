#!/usr/bin/env bash
# Runs the API contract checks (build/windows/contract_tests.exe) under Wine
# in a fresh copy of the test run's prefix, in NT 4.0 mode; the checks work
# in a scratch folder under C:\ of that prefix. Non-zero when a check fails.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine_env.sh

exe=build/windows/contract_tests.exe
[ -f "$exe" ] || { echo "contract_wine: $exe is missing; run scripts/build.sh" >&2; exit 1; }

started=$SECONDS
wine_setup_packages
wine_ensure_template
prefix=$(wine_new_prefix contract)
wine_set_version "$prefix" nt40
wine_put "$exe" "$prefix/drive_c/contract_tests.exe"
status=0
wine_run "$prefix" 'C:\contract_tests.exe' 'C:' || status=$?
echo "contract_wine: Wine part took $((SECONDS - started)) s, exit code $status"
exit $status
