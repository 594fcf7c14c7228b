#!/usr/bin/env bash
# Sets up what is missing, builds both builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh
(cd build/host && ctest --output-on-failure)
