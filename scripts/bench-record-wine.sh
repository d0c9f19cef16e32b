#!/usr/bin/env bash
# The recording under Wine on a private 1920 x 1080 virtual screen: the real
# recorder and encoder record a 1280 x 720 scene that changes every frame
# (tests/bench/RecordWineBench.cpp) at 15 fps; then the file's frame delays
# are read back, their sum being the length a viewer plays.
# Usage: scripts/bench-record-wine.sh BUILD_DIR [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?build dir}" && pwd)
seconds=${2:-20}
"$here/wine-prefix.sh" "$build"
. "$here/wine-env.sh" "$build"
. "$here/desktop.sh"
desktop_start 1920x1080
trap 'wineserver -k >/dev/null 2>&1 || true; desktop_stop' EXIT
work="$build/record-wine-bench"
rm -rf "$work"; mkdir -p "$work"
wine "$build/tests/bench/record_wine_bench.exe" "Z:$(echo "$work/" | tr / '\\')" "$seconds"
python3 - "$work/recording.gif" <<'READ'
import sys
data = open(sys.argv[1], "rb").read()
def skip_table(at, flags):
    return at + (3 << ((flags & 7) + 1) if flags & 0x80 else 0)
at, images, delay = skip_table(13, data[10]), 0, 0
while data[at] != 0x3B:
    if data[at] == 0x21:
        if data[at + 1] == 0xF9:
            delay += data[at + 4] | data[at + 5] << 8
        at += 2
    else:
        images += 1
        at = skip_table(at + 10, data[at + 9]) + 1
    while data[at]:
        at += data[at] + 1
    at += 1
print(f"the file: {images} frames, delays add up to {delay / 100:.2f} s")
READ
