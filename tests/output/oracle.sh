#!/usr/bin/env bash
# Checks the files OracleFiles.WritesPicturesForTheOutsideDecoders wrote with
# tools we did not write: every BMP must decode (ImageMagick) to exactly the
# source pixels; every JPEG must be byte for byte what the JPEG library's own
# cjpeg makes of the same pixels at -quality 90 -baseline, and must decode.
# Usage: oracle.sh CJPEG DIR
set -uo pipefail
cjpeg=${1:?cjpeg}
dir=${2:?folder}
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

[ -x "$cjpeg" ] || { echo "no cjpeg at $cjpeg" >&2; exit 1; }
[ -s "$dir/manifest.txt" ] || { echo "no oracle files in $dir" >&2; exit 1; }
cases=0
while read -r name width height bits kind; do
  cases=$((cases + 1))
  src="$dir/$name"
  # BMP: the header as a reader sees it, and the exact pixels.
  info=$(identify -format '%w %h' "$src.bmp" 2>&1) || fail "$name.bmp does not decode: $info"
  [ "$info" = "$width $height" ] || fail "$name.bmp is $info, expected $width $height"
  if ! convert "$src.bmp" -depth 8 rgb:- 2>/dev/null | cmp -s - "$src.rgb"; then
    fail "$name.bmp ($bits bits) does not decode to the source pixels"
  fi
  # JPEG: the same bytes as cjpeg, and a picture of the right size.
  "$cjpeg" -quality 90 -baseline "$src.ppm" > "$src.cjpeg.jpg" || fail "cjpeg failed on $name"
  cmp -s "$src.cjpeg.jpg" "$src.jpg" || fail "$name.jpg differs from cjpeg's ($(stat -c %s "$src.jpg") vs $(stat -c %s "$src.cjpeg.jpg") bytes)"
  decoded=$(convert "$src.jpg" -depth 8 rgb:- 2>/dev/null | wc -c)
  [ "$decoded" -eq $((width * height * 3)) ] || fail "$name.jpg decodes to $decoded bytes"
  if [ "$kind" = screen ]; then
    psnr=$(compare -metric PSNR "$src.jpg" "$src.ppm" null: 2>&1 | cut -d' ' -f1)
    awk -v p="$psnr" 'BEGIN { exit !(p + 0 >= 30) }' || fail "$name.jpg is far from its source (PSNR $psnr)"
  fi
done < "$dir/manifest.txt"
[ "$cases" -gt 0 ] || fail "empty manifest"
echo "oracle: $cases pictures, $failures failures"
[ "$failures" -eq 0 ]
