# Wine for the tests that run Windows programs: sourced, not run.
#
#   source scripts/wine_env.sh
#   wine_setup_packages              # wine, wine32:i386, xvfb when missing (as root on Debian)
#   wine_ensure_template             # a fresh 32-bit prefix, made once per test run
#   prefix=$(wine_new_prefix NAME)   # a copy of it for one use
#   wine_set_version "$prefix" nt40  # the Windows version Wine reports (nt40, win98, win95 ...)
#   wine_set_desktop "$prefix" 800x600  # the virtual desktop (the template has one)
#   wine_put SOURCE "$prefix/drive_c/..."  # copies a file in, owned by the Wine user
#   wine_run "$prefix" PROGRAM ARGS  # runs a program there under Xvfb; its exit code
#
# Everything lives under build/wine (WINE_ROOT): the template, the copies
# under prefixes/, Wine's home folder and its logs.
#
# Started as root, Wine runs as the unprivileged user $WINE_USER (made when
# missing): root passes over Unix permissions, and with them over the
# read-only attribute, which Wine keeps as the file's write permission.

WINE_REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WINE_ROOT=${WINE_ROOT:-$WINE_REPO/build/wine}
WINE_TEMPLATE=$WINE_ROOT/template
WINE_USER=${WINE_USER:-winetest}

wine_log() { echo "wine: $*" >&2; }

wine_is_root() { [ "$(id -u)" -eq 0 ]; }

# Installs Debian's Wine with the 32-bit loader and Xvfb when missing.
wine_setup_packages() {
  local need=()
  command -v wine >/dev/null || need+=(wine)
  dpkg -s wine32:i386 >/dev/null 2>&1 || need+=(wine32:i386)
  command -v xvfb-run >/dev/null || need+=(xvfb)
  command -v xauth >/dev/null || need+=(xauth)
  [ ${#need[@]} -eq 0 ] && return 0
  local sudo=""
  if ! wine_is_root; then
    command -v sudo >/dev/null || { wine_log "missing ${need[*]}: install them as root"; return 1; }
    sudo=sudo
  fi
  wine_log "installing ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
}

# The user Wine runs as when the scripts run as root.
wine_setup_user() {
  wine_is_root || return 0
  getent passwd "$WINE_USER" >/dev/null && return 0
  useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$WINE_USER"
}

# Hands files to the Wine user (nothing to do when not root).
wine_own() {
  wine_is_root || return 0
  chown -R "$WINE_USER:" "$@"
}

# Runs a command as the Wine user, with the environment of the caller.
wine_as_user() {
  if wine_is_root; then
    setpriv --reuid="$WINE_USER" --regid="$WINE_USER" --init-groups -- "$@"
  else
    "$@"
  fi
}

# The environment of every Wine command here: 32-bit, no prompts or
# downloads (the .NET and HTML engine installers, the menu builder), no
# debug output, a home folder of its own, English system texts and code
# page 1252 unless WINE_LANG names another locale. The Unix locale must be
# installed: without it Wine cannot convert names beyond ASCII to Unix
# file names (C.UTF-8 always is).
wine_use_prefix() {
  export WINEARCH=win32
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINEDEBUG=${WINEDEBUG:--all}
  export HOME=$WINE_ROOT/home
  export LANG=${WINE_LANG:-C.UTF-8}
  unset LC_ALL
  WINEPREFIX=$(realpath -m "$1")
  export WINEPREFIX
}

wine_prepare_root() {
  wine_setup_user
  mkdir -p "$WINE_ROOT"
  if wine_is_root; then
    chown "$WINE_USER:" "$WINE_ROOT"
    # A checkout in a folder the Wine user cannot enter (root's home, say):
    # Wine's files go to a folder of the system's temporary space instead.
    if ! wine_as_user test -w "$WINE_ROOT/."; then
      WINE_ROOT=${TMPDIR:-/tmp}/quorlet-wine-$(echo "$WINE_REPO" | md5sum | cut -c1-8)
      WINE_TEMPLATE=$WINE_ROOT/template
      wine_log "the Wine user cannot write to the build folder; using $WINE_ROOT"
      mkdir -p "$WINE_ROOT"
      chown "$WINE_USER:" "$WINE_ROOT"
    fi
  fi
  mkdir -p "$WINE_ROOT/logs" "$WINE_ROOT/home" "$WINE_ROOT/prefixes"
  wine_own "$WINE_ROOT/home" "$WINE_ROOT/logs" "$WINE_ROOT/prefixes"
}

# Ends the prefix's wineserver and every program still running there.
wine_stop() {
  [ -d "$1" ] || return 0
  (wine_use_prefix "$1" && wine_as_user wineserver -k) >/dev/null 2>&1 || true
}

# A fresh 32-bit prefix at $WINE_TEMPLATE. The user folders that Wine may
# link to the Unix home become real folders, so that nothing a program
# writes leaves the prefix.
wine_make_template() {
  local started=$SECONDS
  wine_prepare_root
  wine_stop "$WINE_TEMPLATE"
  rm -rf "$WINE_TEMPLATE"
  (
    wine_use_prefix "$WINE_TEMPLATE"
    wine_as_user wineboot -i >"$WINE_ROOT/logs/wineboot.log" 2>&1
    wine_as_user wineserver -w
  ) || { wine_log "wineboot failed, see $WINE_ROOT/logs/wineboot.log"; return 1; }
  wine_set_desktop "$WINE_TEMPLATE" 800x600
  local link
  for link in "$WINE_TEMPLATE"/drive_c/users/*/*; do
    if [ -L "$link" ]; then
      rm "$link"
      mkdir "$link"
      wine_own "$link"
    fi
  done
  export WINE_TEMPLATE_READY=$WINE_TEMPLATE
  wine_log "prefix template made in $((SECONDS - started)) s"
}

# Makes the template unless this test run has made one already.
wine_ensure_template() {
  wine_prepare_root
  if [ "${WINE_TEMPLATE_READY:-}" = "$WINE_TEMPLATE" ] && [ -f "$WINE_TEMPLATE/system.reg" ]; then
    return 0
  fi
  wine_make_template
}

# Copies the template to $WINE_ROOT/prefixes/NAME (replacing an earlier
# copy) and prints the copy's path.
wine_new_prefix() {
  wine_prepare_root
  local prefix=$WINE_ROOT/prefixes/$1
  wine_stop "$prefix"
  rm -rf "$prefix"
  cp -a "$WINE_TEMPLATE" "$prefix"
  echo "$prefix"
}

# Copies a file or folder into a prefix, owned by the Wine user.
wine_put() {
  cp -a "$1" "$2"
  wine_own "$2"
}

# The Windows version Wine reports to programs started afterwards:
# nt40, win98, win95, nt351, win2k, winxp ...
wine_set_version() {
  (
    wine_use_prefix "$1"
    wine_as_user wine reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d "$2" /f >/dev/null 2>&1
    wine_as_user wineserver -w
  )
}

# Programs show their windows inside one virtual desktop window of this
# size: windows get their captions drawn without a window manager, and
# showing or hiding one does not wait for a window manager's answer (about
# a second each under plain Xvfb).
wine_set_desktop() {
  (
    wine_use_prefix "$1"
    wine_as_user wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
    wine_as_user wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d "$2" /f >/dev/null 2>&1
    wine_as_user wineserver -w
  )
}

# Runs PROGRAM (a Windows path in the prefix) there under a virtual X
# server and returns its exit code. Wine's own messages go to
# $WINE_ROOT/logs/<prefix name>.log. The prefix's wineserver has ended
# when this returns, so its registry is on disk.
wine_run() {
  local prefix=$1
  shift
  local log
  log=$WINE_ROOT/logs/$(basename "$prefix").log
  (
    wine_use_prefix "$prefix"
    status=0
    wine_as_user xvfb-run -a -s "-screen 0 1024x768x24" wine "$@" 2>>"$log" || status=$?
    wine_as_user wineserver -w || true
    exit $status
  )
}

# What the end-to-end runs need besides Wine: ImageMagick and xdotool for
# the screenshots, and the French and Italian UTF-8 locales (Wine takes the
# user's language from LANG, and needs the locale to name files beyond
# ASCII). Installed when missing, as root.
WINE_LOCALES=(fr_FR.UTF-8 it_IT.UTF-8)

wine_locale_missing() {
  local name=${1%.UTF-8}
  ! locale -a 2>/dev/null | grep -qix "$name.utf8"
}

wine_setup_desktop_tools() {
  local need=()
  command -v import >/dev/null || need+=(imagemagick)
  command -v xdotool >/dev/null || need+=(xdotool)
  command -v locale-gen >/dev/null || need+=(locales)
  command -v python3 >/dev/null || need+=(python3)
  local missing_locales=()
  local locale
  for locale in "${WINE_LOCALES[@]}"; do
    wine_locale_missing "$locale" && missing_locales+=("$locale")
  done
  [ ${#need[@]} -eq 0 ] && [ ${#missing_locales[@]} -eq 0 ] && return 0
  local sudo=""
  if ! wine_is_root; then
    command -v sudo >/dev/null || { wine_log "missing ${need[*]} ${missing_locales[*]}: install them as root"; return 1; }
    sudo=sudo
  fi
  if [ ${#need[@]} -gt 0 ]; then
    wine_log "installing ${need[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
  fi
  if [ ${#missing_locales[@]} -gt 0 ]; then
    wine_log "generating the locales ${missing_locales[*]}"
    for locale in "${missing_locales[@]}"; do
      if grep -qE "^# *$locale UTF-8" /etc/locale.gen 2>/dev/null; then
        $sudo sed -i -E "s/^# *($locale UTF-8)/\\1/" /etc/locale.gen
      elif ! grep -qE "^$locale UTF-8" /etc/locale.gen 2>/dev/null; then
        echo "$locale UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
      fi
    done
    $sudo locale-gen >/dev/null
  fi
}
