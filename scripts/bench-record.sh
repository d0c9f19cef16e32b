#!/bin/sh
# The recording benchmark: the scripted scene (10 s at 15 fps) at 800 x 600
# and 1280 x 720, encoded by our encoder, by ImageMagick (-layers optimize)
# and by ffmpeg (palettegen/paletteuse with and without dithering) from the
# same frames, every file played back by giflib against the scene; then our
# streaming encoder's memory for 60 s at 1920 x 1080.
# Usage: scripts/bench-record.sh NATIVE_BUILD_DIR
set -eu
bench="$1/record_bench"
work="$1/record-bench"
if ! command -v ffmpeg >/dev/null; then
  apt-get install -y -q ffmpeg >/dev/null
fi
for size in 800x600 1280x720; do
  w=${size%x*}; h=${size#*x}
  dir="$work/$size"
  rm -rf "$dir"; mkdir -p "$dir"
  nice -n 10 "$bench" scene "$w" "$h" "$dir"
  nice -n 10 convert -delay 100x1500 "$dir"/frames/*.ppm -layers optimize -loop 0 "$dir/imagemagick.gif"
  for dither in sierra2_4a none; do
    nice -n 10 ffmpeg -v error -y -framerate 15 -i "$dir/frames/%04d.ppm" \
      -vf "split[a][b];[a]palettegen[p];[b][p]paletteuse=dither=$dither" -loop 0 "$dir/ffmpeg-dither-$dither.gif"
  done
  nice -n 10 "$bench" compare "$w" "$h" "$dir/ours.gif" "$dir/imagemagick.gif" \
    "$dir/ffmpeg-dither-sierra2_4a.gif" "$dir/ffmpeg-dither-none.gif"
  smallest=$(stat -c %s "$dir/imagemagick.gif" "$dir"/ffmpeg-*.gif | sort -n | head -1)
  ours=$(stat -c %s "$dir/ours.gif")
  echo "$size ours / smallest peer: $(awk "BEGIN { printf \"%.3f\", $ours / $smallest }") (goal at most 0.8)"
  rm -rf "$dir/frames"
done
nice -n 10 "$bench" memory
