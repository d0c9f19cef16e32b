#!/usr/bin/env bash
# Starts Tavro under Wine: on $DISPLAY when there is one, otherwise on a
# private virtual desktop with a notification area and a picture to capture,
# and says how to see it.
# Usage: scripts/run.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?build dir}" && pwd)

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    # A real display has a window manager: it frames and moves Tavro's windows.
    TAVRO_WINE_MANAGED=Y "$here/wine-prefix.sh" "$build"
    . "$here/wine-env.sh" "$build"
    exec wine "$build/tavro.exe"
fi

# The virtual display has no window manager: Wine draws the windows' frames
# (title bar to drag them by, close box) itself.
"$here/wine-prefix.sh" "$build"
. "$here/wine-env.sh" "$build"
. "$here/desktop.sh"
desktop_start 1024x768
trap 'wineserver -k >/dev/null 2>&1 || true; desktop_stop' EXIT
desktop_background "$build/desktop.png"
shot="$build/screen.png"
echo "Tavro runs on the virtual display $DISPLAY (1024 x 768); its icon is in the tray at the top right."
echo "See the screen:  DISPLAY=$DISPLAY import -window root $shot   (then open $shot)"
echo "Click the icon:  DISPLAY=$DISPLAY xdotool mousemove 1008 16 click 1"
echo "A picture of the screen is written to $shot every 2 seconds. Ctrl+C ends Tavro."
wine "$build/tavro.exe" &
tavro=$!
while kill -0 "$tavro" 2>/dev/null; do
    import -window root "$shot.tmp.png" 2>/dev/null && mv -f "$shot.tmp.png" "$shot"
    sleep 2
done
wait "$tavro"
