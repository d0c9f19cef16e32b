#!/usr/bin/env bash
# Creates the private Wine prefix of a build folder when it is missing, makes
# its windows unmanaged and sets its display scale (see below).
# Usage: scripts/wine-prefix.sh BUILD_DIR [PREFIX_DIR [ARCH]]
#   PREFIX_DIR defaults to BUILD_DIR/wineprefix, ARCH (win32, win64) to the build's.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh" "$1"
if [ -n "${2:-}" ]; then
  mkdir -p "$2"
  WINEPREFIX=$(cd "$2" && pwd)
  export WINEPREFIX
fi
if [ -n "${3:-}" ]; then export WINEARCH=$3; fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine: preparing the prefix in $WINEPREFIX" >&2
  DISPLAY= wineboot -i </dev/null >/dev/null 2>&1 || true
  wineserver -w
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
