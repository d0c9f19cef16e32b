#!/usr/bin/env bash
# Makes what a Windows user gets (make dist), from the i686 and the x86_64
# build folders: in DIST_DIR the installer TavroSetup-VERSION.exe, which holds
# both programs, and the portable tavro-VERSION-win32.zip and -win64.zip.
# Usage: scripts/dist.sh VERSION BUILD32 BUILD64 DIST_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
version=${1:?version}
build32=$(cd "${2:?i686 build dir}" && pwd)
build64=$(cd "${3:?x86_64 build dir}" && pwd)
mkdir -p "${4:?dist dir}"
dist=$(cd "$4" && pwd)

# A program of the wrong size in the wrong place would install and never start.
check_machine() {
  x86_64-w64-mingw32-objdump -f "$1" | grep -q "file format $2" || { echo "dist: $1 is not $2" >&2; exit 1; }
}
check_machine "$build32/tavro.exe" pei-i386
check_machine "$build64/tavro.exe" pei-x86-64

stage="$dist/stage"
rm -rf "$stage"
mkdir -p "$stage/files"
cp "$build32/tavro.chm" "$stage/files/"
# Notepad on older Windows wants CR LF.
sed 's/$/\r/' "$root/installer/readme.txt" > "$stage/files/readme.txt"

publisher=$(sed -n 's/^set(TAVRO_PUBLISHER "\(.*\)")$/\1/p' "$root/CMakeLists.txt")
makensis -V2 -DVERSION="$version" -DPUBLISHER="$publisher" -DBIN32="$build32" \
  -DBIN64="$build64" -DFILES="$stage/files" -DOUTFILE="$dist/TavroSetup-$version.exe" \
  "$root/installer/tavro.nsi"

# The portable copies: one folder, Tavro, with the program, the help and the read-me.
for arch in win32 win64; do
  build=$build32
  if [ "$arch" = win64 ]; then build=$build64; fi
  mkdir -p "$stage/$arch/Tavro"
  cp "$build/tavro.exe" "$stage/files/tavro.chm" "$stage/files/readme.txt" "$stage/$arch/Tavro/"
  zip="$dist/tavro-$version-$arch.zip"
  rm -f "$zip"
  (cd "$stage/$arch" && python3 -m zipfile -c "$zip" Tavro)
done
rm -rf "$stage"
echo "dist: $(cd "$dist" && ls TavroSetup-"$version".exe tavro-"$version"-win*.zip | tr '\n' ' ')"
