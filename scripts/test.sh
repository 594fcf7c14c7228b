#!/usr/bin/env bash
# Sets up what is missing, builds both builds and runs every test: the host
# suites (ctest), then the Windows programs under Wine: the API contract
# checks and the end-to-end scenarios of Install.EXE.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
source scripts/wine_env.sh
wine_setup_packages
wine_setup_desktop_tools
scripts/build.sh
(cd build/host && ctest --output-on-failure)

# Wine: one fresh prefix for the whole run, copied for each use.
wine_started=$SECONDS
wine_make_template
status=0
scripts/contract_wine.sh || status=1
scripts/wine_scenarios.sh || status=1
echo "test: Wine part took $((SECONDS - wine_started)) s"
exit $status
