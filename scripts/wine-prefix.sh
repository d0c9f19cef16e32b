#!/usr/bin/env bash
# Creates the private Wine prefix of a build folder when it is missing.
# Usage: scripts/wine-prefix.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh" "$1"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine: preparing the prefix in $WINEPREFIX" >&2
  DISPLAY= wineboot -i </dev/null >/dev/null 2>&1 || true
  wineserver -w
fi
