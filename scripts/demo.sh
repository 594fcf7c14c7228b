#!/usr/bin/env bash
# Installs Quorlet V4.06 with the real Install.EXE in a fresh Wine prefix.
#
#   scripts/demo.sh [--lang en|fr|it] [--windows nt40|win98|win95] [--headless]
#
# Sets up what is missing (Debian packages, as root or through sudo),
# builds Install.EXE, the test pilot and make_distribution, writes a sample
# distribution folder and a fresh 32-bit Wine prefix (build/wine), and runs
# the installer from D:\Setup there. With $DISPLAY set you click through
# the dialogs yourself; without one (or with --headless) they run on a
# virtual X server and each window is answered with Enter. The run ends
# with what was installed: files, registry values, links, search path, and
# the screenshots taken of every window (build/wine/demo/screenshots).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
source scripts/wine_env.sh
wine_setup_packages
wine_setup_desktop_tools

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/windows -j"$jobs" --target Install wine_pilot
cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/host -j"$jobs" --target make_distribution

# Wine started as root runs as $WINE_USER, who needs the X cookie of the
# person's display to draw on it.
if [ -n "${DISPLAY:-}" ] && wine_is_root; then
  cookie=${XAUTHORITY:-$HOME/.Xauthority}
  if [ -f "$cookie" ]; then
    wine_prepare_root
    cp "$cookie" "$WINE_ROOT/home/.Xauthority"
    wine_own "$WINE_ROOT/home/.Xauthority"
    export XAUTHORITY=$WINE_ROOT/home/.Xauthority
  fi
fi

wine_ensure_template
python3 tests/wine/demo.py "$@"
