#!/usr/bin/env bash
# Creates the private Wine prefix of a build folder when it is missing, makes
# its windows unmanaged and sets its display scale (see below).
# Usage: scripts/wine-prefix.sh BUILD_DIR [PREFIX_DIR [ARCH]]
#   PREFIX_DIR defaults to BUILD_DIR/wineprefix, ARCH (win32, win64) to the build's.
# or:    scripts/wine-prefix.sh --template ROOT ARCH
#   only makes the new prefixes' template of ARCH in ROOT (see below).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

# A new prefix is a copy of a template booted once per size in the folder that
# holds the build folders: wineboot takes about 12 s and 5 processor-seconds,
# a copy well under a second. The lock keeps prefixes made side by side from
# booting the template twice or copying it half made.
make_template() {  # ROOT ARCH: prints the template's folder
  local template="$1/wine-template-$2"
  (
    flock 9
    if [ ! -f "$template/system.reg" ]; then
      echo "wine: preparing the $2 prefix template in $template" >&2
      rm -rf "$template"
      mkdir -p "$template"
      WINEPREFIX=$template WINEARCH=$2 WINEDEBUG=-all DISPLAY= wineboot -i </dev/null >/dev/null 2>&1 || true
      WINEPREFIX=$template wineserver -w
    fi
  ) 9>"$1/wine-template-$2.lock"
  echo "$template"
}

if [ "${1:-}" = --template ]; then
  mkdir -p "${2:?root}"
  make_template "$(cd "$2" && pwd)" "${3:?arch}" >/dev/null
  exit 0
fi

. "$here/wine-env.sh" "$1"
if [ -n "${2:-}" ]; then
  mkdir -p "$2"
  WINEPREFIX=$(cd "$2" && pwd)
  export WINEPREFIX
fi
if [ -n "${3:-}" ]; then export WINEARCH=$3; fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  template=$(make_template "$(dirname "$tavro_build_dir")" "$WINEARCH")
  echo "wine: preparing the prefix in $WINEPREFIX" >&2
  # Copied beside it and renamed, so that a copy cut short is never taken
  # for a prefix.
  copy="$WINEPREFIX.copy-$$"
  rm -rf "$copy"
  cp -a "$template" "$copy"
  rmdir "$WINEPREFIX" 2>/dev/null || true
  mv -T "$copy" "$WINEPREFIX" || { echo "wine: $WINEPREFIX holds files but no prefix: remove it" >&2; rm -rf "$copy"; exit 1; }
fi
# Our virtual screens have no window manager. A managed Wine window then waits
# about 2 s for a window manager's answer every time it is hidden; unmanaged
# windows hide at once and Wine draws their frames (title bar, close box)
# itself. TAVRO_WINE_MANAGED=Y gives the windows back to the window manager of a
# real display. The marker holds the value set, so the registry is written only
# when it changes.
managed=${TAVRO_WINE_MANAGED:-N}
marker="$WINEPREFIX/.tavro-managed"
if [ "$(cat "$marker" 2>/dev/null)" != "$managed" ]; then
  DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$managed" /f \
    </dev/null >/dev/null 2>&1 || { echo "wine: could not set Managed=$managed in $WINEPREFIX" >&2; exit 1; }
  # Let the registry reach the disk before anything else starts on the prefix.
  timeout 30 wineserver -w || true
  echo "$managed" > "$marker"
fi
# TAVRO_WINE_DPI sets the session's DPI (LogPixels; 96 is 100%, 144 is 150%),
# read by Wine when its session starts. Unset, the prefix keeps what it has.
dpi=${TAVRO_WINE_DPI:-}
marker="$WINEPREFIX/.tavro-dpi"
if [ -n "$dpi" ] && [ "$(cat "$marker" 2>/dev/null)" != "$dpi" ]; then
  DISPLAY= wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    </dev/null >/dev/null 2>&1 || { echo "wine: could not set LogPixels=$dpi in $WINEPREFIX" >&2; exit 1; }
  timeout 30 wineserver -w || true
  echo "$dpi" > "$marker"
fi
