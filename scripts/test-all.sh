#!/usr/bin/env bash
# The whole suite (make test), in steps that keep both processors busy:
#   0. the i686 build, while the Wine prefix templates of both sizes boot
#      beside it (scripts/wine-prefix.sh: every prefix of the run is a copy);
#   1. the i686 build's tests under Wine (all but the installer's), while the
#      64-bit build and the installer are made beside them at the lowest
#      priority, so that the tests keep the processor they need. The 64-bit
#      Office suite, which mostly waits for its stand-in applications, is
#      built first and runs beside them too;
#   2. the installer's test and the rest of the 64-bit build's tests (label
#      win64) side by side, each on desktops and prefixes of its own.
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
office64='^office_tests\.win64$'

templates=()
for arch in win32 win64; do
  "$here/wine-prefix.sh" --template "$(dirname "$build32")" "$arch" &
  templates+=($!)
done
cmake --build "$build32" -j "$(nproc)" || exit 1
wait "${templates[@]}"

"$here/test.sh" "$build32" -LE install &
unit=$!

# The 64-bit chain: the Office suite first, then everything else and the installer.
make_log=$logs/build64-dist.log
office_log=$logs/test-win64-office.log
office=
make64() { nice -n 19 make -C "$root" --no-print-directory BUILD="$build32" BUILD64="$build64" DIST="$dist" "$@"; }
if make64 "$build64/build.ninja" >"$make_log" 2>&1 &&
   nice -n 19 cmake --build "$build64" --target office_tests >>"$make_log" 2>&1; then
  "$here/test.sh" "$build64" -R "$office64" >"$office_log" 2>&1 &
  office=$!
fi
make64 build64 dist >>"$make_log" 2>&1
made=$?
wait "$unit" || status=1
if [ "$made" -ne 0 ] || [ -z "$office" ]; then
  echo "== The 64-bit build and the installer failed ($make_log):"
  tail -n 60 "$make_log"
  exit 1
fi

win64_log=$logs/test-win64.log
wait "$office" || status=1
"$here/test.sh" "$build64" -L win64 -E "$office64" >"$win64_log" 2>&1 &
win64=$!
"$here/test.sh" "$build32" -L install || status=1
wait "$win64" || status=1
echo "== The 64-bit build's tests"
cat "$office_log" "$win64_log"
exit "$status"
