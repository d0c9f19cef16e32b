#!/usr/bin/env bash
# Runs the save benchmarks of a build folder and prints medians and ratios:
# our JPEG encoder (under Wine) against libjpeg-turbo used natively on the same
# pixels, the PNG encoder against the host's libpng at the same level and
# filter and against ImageMagick's default PNG, and the BMP save against a
# plain write of the same bytes. With WIN64_BUILD set to a 64-bit build folder
# (make bench-save sets it), its PNG encoder runs too, under 64-bit Wine in that
# folder's prefix, so the PNG ratio is given for both sizes of code.
# Usage: [WIN64_BUILD=DIR] tests/output/bench/run_bench.sh BUILD_DIR [REPEATS] [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
build=$(cd "${1:?build dir}" && pwd)
repeats=${2:-11}
out="$build/bench-save"
mkdir -p "$out"
"$root/scripts/wine-prefix.sh" "$build"
. "$root/scripts/wine-env.sh" "$build"
wineserver -p
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
build64=${WIN64_BUILD:+$(cd "$WIN64_BUILD" && pwd)}
out64="$build64/bench-save"
if [ -n "$build64" ]; then
  "$root/scripts/wine-prefix.sh" "$build64"
  mkdir -p "$out64"
  (. "$root/scripts/wine-env.sh" "$build64" && wineserver -p)
  trap 'wineserver -k >/dev/null 2>&1 || true; (. "$root/scripts/wine-env.sh" "$build64" && wineserver -k >/dev/null 2>&1) || true' EXIT
fi

# Rounds alternate between our programs and the native peer, so that both see
# the same load of a shared machine; each figure is the median over rounds of
# the per-round medians.
rounds=${3:-3}
results="$out/results.txt"
: > "$results"
for round in $(seq 1 "$rounds"); do
  wine "$build/tests/output/output_bench.exe" "$(winepath -w "$out")" "$repeats" </dev/null | tr -d '\r' >> "$results"
  if [ -n "$build64" ]; then
    (. "$root/scripts/wine-env.sh" "$build64" &&
      wine "$build64/tests/output/output_bench.exe" "$(winepath -w "$out64")" "$repeats" png </dev/null) |
      tr -d '\r' | sed 's/^/w64_/' >> "$results"
  fi
  for ppm in "$out"/screen-*.ppm; do
    "$build/tests/output/jpeg_native_bench" "$ppm" "$repeats" >> "$results"
    "$build/tests/output/png_native_bench" "$ppm" "$repeats" 6 0x10 >> "$results"
    size=$(head -c 20 "$ppm" | awk 'NR == 2 { print $1 " " $2 }')
    start=$(date +%s%N)
    convert "$ppm" "$out/convert.png"
    echo "png_convert $size $(( ($(date +%s%N) - start) / 1000 ))e-3" >> "$results"
    echo "png_convert_bytes $size $(stat -c %s "$out/convert.png")" >> "$results"
  done
done

awk -v arch="$(cat "$build/wine-arch" 2>/dev/null || echo win32)" '
  $1 == "bmp_save_parts" { parts[$2 "x" $3] = $4 " " $5 ", " $6 " " $7 ", " $8 " " $9 ", " $10 " " $11 ", " $12 " " $13 ", " $14 " " $15 " ms"; next }
  { k = $1 " " $2 "x" $3; n[k]++; all[k, n[k]] = $4; sizes[$2 "x" $3] = 1 }
  END {
    for (k in n) {
      for (i = 1; i <= n[k]; i++) for (j = i + 1; j <= n[k]; j++)
        if (all[k, j] < all[k, i]) { t = all[k, i]; all[k, i] = all[k, j]; all[k, j] = t }
      v[k] = all[k, int((n[k] + 1) / 2)]
    }
    for (s in sizes) {
      printf "%s\n", s
      printf "  JPEG  ours %.2f ms, native %.2f ms  -> throughput ratio %.2f (goal >= 0.9); bytes %s vs %s\n",
        v["jpeg_encode " s], v["jpeg_native " s], v["jpeg_native " s] / v["jpeg_encode " s],
        v["jpeg_bytes " s], v["jpeg_native_bytes " s]
      printf "  JPEG  whole save (encode, temporary file, flush, replace) %.2f ms\n", v["jpeg_save " s]
      printf "  PNG   ours (%s) %.2f ms, native libpng %.2f ms -> time ratio %.2f (goal <= 1.1); whole save %.2f ms\n",
        arch, v["png_encode " s], v["png_native " s], v["png_encode " s] / v["png_native " s], v["png_save " s]
      if (("w64_png_encode " s) in v)
        printf "  PNG   ours (win64) %.2f ms, the same native run -> time ratio %.2f; bytes %s\n",
          v["w64_png_encode " s], v["w64_png_encode " s] / v["png_native " s], v["w64_png_bytes " s]
      printf "  PNG   bytes ours %s, native %s, ImageMagick default %s (convert %.0f ms, goal: ours no larger)\n",
        v["png_bytes " s], v["png_native_bytes " s], v["png_convert_bytes " s], v["png_convert " s]
      printf "  BMP   save %.2f ms, plain write %.2f ms -> ratio %.2f (goal <= 1.5)\n",
        v["bmp_save " s], v["bmp_plain_write " s], v["bmp_save " s] / v["bmp_plain_write " s]
      printf "  BMP   plain write with flush %.2f ms -> ratio %.2f\n",
        v["bmp_plain_write_flush " s], v["bmp_save " s] / v["bmp_plain_write_flush " s]
      printf "  BMP   save steps (mean of 5): %s\n", parts[s]
    }
  }' "$results"
