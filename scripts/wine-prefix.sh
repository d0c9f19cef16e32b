#!/usr/bin/env bash
# Creates the private Wine prefix of a build folder when it is missing, and
# makes its windows unmanaged (see below), once per prefix.
# Usage: scripts/wine-prefix.sh BUILD_DIR [PREFIX_DIR]
#   PREFIX_DIR defaults to BUILD_DIR/wineprefix.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh" "$1"
if [ -n "${2:-}" ]; then
  mkdir -p "$2"
  WINEPREFIX=$(cd "$2" && pwd)
  export WINEPREFIX
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine: preparing the prefix in $WINEPREFIX" >&2
  DISPLAY= wineboot -i </dev/null >/dev/null 2>&1 || true
  wineserver -w
fi
# Our virtual screens have no window manager. A managed Wine window then waits
# about 2 s for a window manager's answer every time it is hidden; unmanaged
# windows hide at once and Wine draws their frames (title bar, close box)
# itself. The marker keeps this to one registry write per prefix.
marker="$WINEPREFIX/.tavro-unmanaged"
if [ ! -f "$marker" ]; then
  DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    </dev/null >/dev/null 2>&1 || { echo "wine: could not make the windows of $WINEPREFIX unmanaged" >&2; exit 1; }
  # Let the registry reach the disk before anything else starts on the prefix.
  timeout 30 wineserver -w || true
  touch "$marker"
fi
