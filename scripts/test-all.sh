#!/usr/bin/env bash
# The whole suite (make test), in steps that keep both processors busy:
#   0. the i686 build, while the Wine prefix templates of both sizes boot
#      beside it (scripts/wine-prefix.sh: every prefix of the run is a copy);
#   1. the i686 build's tests under Wine (all but the installer's), while the
#      64-bit build and the installer are made beside them at the lowest
#      priority, so that the tests keep the processor they need;
#   2. the installer's test and the 64-bit build's tests (label win64) side by
#      side, each on desktops and prefixes of its own.
# Every part runs even when another fails; the output of the parts run in the
# background follows the live one's. The exit status is non-zero when any
# part failed.
# Usage: scripts/test-all.sh BUILD32 BUILD64 DIST_DIR   (BUILD32 configured)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build32=${1:?i686 build dir}
build64=${2:?x86_64 build dir}
dist=${3:?dist dir}
logs=$(dirname "$build64")
status=0

templates=()
for arch in win32 win64; do
  "$here/wine-prefix.sh" --template "$(dirname "$build32")" "$arch" &
  templates+=($!)
done
cmake --build "$build32" -j "$(nproc)" || exit 1
wait "${templates[@]}"

"$here/test.sh" "$build32" -LE install &
unit=$!
make_log=$logs/build64-dist.log
if ! nice -n 19 make -C "$root" --no-print-directory BUILD="$build32" BUILD64="$build64" \
    DIST="$dist" build64 dist >"$make_log" 2>&1; then
  made=1
else
  made=0
fi
wait "$unit" || status=1
if [ "$made" -ne 0 ]; then
  echo "== The 64-bit build and the installer failed ($make_log):"
  tail -n 60 "$make_log"
  exit 1
fi

win64_log=$logs/test-win64.log
"$here/test.sh" "$build64" -L win64 >"$win64_log" 2>&1 &
win64=$!
"$here/test.sh" "$build32" -L install || status=1
wait "$win64" || status=1
echo "== The 64-bit build's tests"
cat "$win64_log"
exit "$status"
