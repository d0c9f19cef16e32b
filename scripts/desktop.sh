# Sourced: a private X desktop for running and testing Tavro: Xvfb on a free
# display with trayer as the notification area. Only the processes started here
# are ended by desktop_stop.
# Usage: . scripts/desktop.sh; desktop_start [WIDTHxHEIGHT]; ...; desktop_stop
#        desktop_background PICTURE.png   (after desktop_start: a picture on the screen)

desktop_pids=()

desktop_start()
{
    local size=${1:-1024x768} n tries fifo
    # Xvfb picks a free display itself and names it (-displayfd), so two
    # desktops starting at once never take the same number.
    fifo=$(mktemp -u /tmp/tavro-display.XXXXXX)
    mkfifo "$fifo"
    # -noreset: a readiness check that disconnects must not reset the server.
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
    desktop_pids+=($!)
    n=$(timeout 10 head -n 1 "$fifo" || true)
    rm -f "$fifo"
    [ -n "$n" ] || { echo "desktop: Xvfb named no display" >&2; return 1; }
    export DISPLAY=":$n"
    for tries in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdpyinfo >/dev/null 2>&1 || { echo "desktop: Xvfb did not start on :$n" >&2; return 1; }
    # The notification area at the top-right corner, before any Wine process.
    trayer --edge top --align right --widthtype pixel --width 96 --heighttype pixel --height 32 \
        --SetDockType false --SetPartialStrut false --transparent false --tint 0x808080 \
        >/dev/null 2>&1 &
    desktop_pids+=($!)
    for tries in $(seq 1 50); do
        xdotool search --class trayer >/dev/null 2>&1 && break
        sleep 0.1
    done
}

desktop_stop()
{
    local pid
    for pid in "${desktop_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${desktop_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    desktop_pids=()
}

# Draws a picture worth capturing (a gradient with a grid, shapes and text, at
# the size of the screen) into the given PNG file and makes it the background of
# the X screen, so a first capture shows more than a black rectangle.
desktop_background()
{
    local png=${1:?picture file} w h font u
    read -r w h < <(xdpyinfo | sed -n 's/^ *dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p')
    font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
    u=$((h / 24))   # one unit of the layout: the picture scales with the screen
    convert -size "${w}x${h}" -define gradient:angle=135 gradient:'#1f4e79-#f2a65a' \
        -fill none -stroke '#ffffff30' -strokewidth 1 \
        -draw "$(desktop_grid "$w" "$h" $((u * 2)))" \
        -stroke '#00000060' -strokewidth $((u / 6 + 1)) \
        -fill '#e63946' -draw "roundrectangle $((u * 2)),$((u * 10)) $((u * 12)),$((u * 17)) $u,$u" \
        -fill '#06d6a0' -draw "polygon $((w / 2)),$((u * 11)) $((w / 2 + u * 4)),$((u * 19)) $((w / 2 - u * 4)),$((u * 19))" \
        -fill '#ffd166' -draw "circle $((w - u * 7)),$((u * 13)) $((w - u * 7)),$((u * 17))" \
        -fill '#118ab2' -draw "ellipse $((w / 2)),$((h - u * 3)) $((u * 6)),$((u * 3 / 2)) 0,360" \
        -stroke none -fill white -font "$font" \
        -pointsize $((u * 2)) -annotate +$((u * 2))+$((u * 5)) 'Tavro Screen Capture' \
        -pointsize $((u * 2 / 3 + 1)) -annotate +$((u * 2))+$((u * 7)) \
            "A virtual desktop of ${w} x ${h} pixels: capture a shape of it from the tray icon." \
        "$png" || { echo "desktop: could not draw the background picture" >&2; return 0; }
    # display sets the background and exits, with a non-zero status at times.
    display -window root "$png" >/dev/null 2>&1 || true
}

# The draw commands of a grid of lines every STEP pixels.
desktop_grid()
{
    local w=$1 h=$2 step=$3 x y lines=""
    for ((x = step; x < w; x += step)); do lines+="line $x,0 $x,$h "; done
    for ((y = step; y < h; y += step)); do lines+="line 0,$y $w,$y "; done
    echo "$lines"
}
