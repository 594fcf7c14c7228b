#!/usr/bin/env bash
# Runs the end-to-end scenarios (tests/wine/scenarios.py): the real
# Install.EXE in fresh copies of the test run's Wine prefix, driven by
# build/windows/wine_pilot.exe under a virtual X server, each checked by
# what the prefix holds afterwards. Screenshots of every window go to
# build/wine/e2e/screenshots. Non-zero when a scenario fails.
#
#   scripts/wine_scenarios.sh [--only NAME ...] [--docs docs/screenshots]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine_env.sh

for file in build/windows/Install.EXE build/windows/wine_pilot.exe \
            build/host/tools/make_distribution/make_distribution; do
  [ -f "$file" ] || { echo "wine_scenarios: $file is missing; run scripts/build.sh" >&2; exit 1; }
done

started=$SECONDS
wine_setup_packages
wine_setup_desktop_tools
wine_ensure_template
status=0
python3 tests/wine/scenarios.py "$@" || status=$?
echo "wine_scenarios: took $((SECONDS - started)) s, exit code $status"
exit $status
