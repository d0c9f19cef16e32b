#!/usr/bin/env bash
# The recording under Wine on a private 1920 x 1080 virtual screen: the real
# recorder and encoder record a 1280 x 720 scene that changes every frame
# (tests/bench/RecordWineBench.cpp) at 15 fps; then ImageMagick reads the
# file's frame delays, whose sum is the length a viewer plays.
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
identify -format "%T\n" "$work/recording.gif" |
  awk '{ cs += $1; n++ } END { printf "the file: %d frames, delays add up to %.2f s\n", n, cs / 100 }'
