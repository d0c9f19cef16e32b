# Sourced: a private X desktop for running and testing Tavro: Xvfb on a free
# display with trayer as the notification area. Only the processes started here
# are ended by desktop_stop.
# Usage: . scripts/desktop.sh; desktop_start [WIDTHxHEIGHT]; ...; desktop_stop

desktop_pids=()

desktop_free_display()
{
    local n
    for n in $(seq 57 199); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            echo "$n"
            return 0
        fi
    done
    return 1
}

desktop_start()
{
    local size=${1:-1024x768} n tries
    n=$(desktop_free_display) || { echo "desktop: no free display" >&2; return 1; }
    # -noreset: a readiness check that disconnects must not reset the server.
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
    desktop_pids+=($!)
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
