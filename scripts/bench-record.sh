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
mkdir -p "$work/magick"
cat > "$work/magick/policy.xml" <<'POLICY'
<policymap>
  <policy domain="resource" name="memory" value="2GiB"/>
  <policy domain="resource" name="map" value="4GiB"/>
  <policy domain="resource" name="disk" value="8GiB"/>
</policymap>
POLICY
for size in 800x600 1280x720; do
  w=${size%x*}; h=${size#*x}
  dir="$work/$size"
  rm -rf "$dir"; mkdir -p "$dir"
  nice -n 10 "$bench" scene "$w" "$h" "$dir"
  # The system policy's 1 GiB pixel cache holds too few 1280 x 720 frames.
  MAGICK_CONFIGURE_PATH="$work/magick" nice -n 10 convert -delay 100x1500 "$dir"/frames/*.ppm \
    -layers optimize -loop 0 "$dir/imagemagick.gif" || echo "$size: ImageMagick failed"
  for dither in sierra2_4a none; do
    nice -n 10 ffmpeg -v error -y -framerate 15 -i "$dir/frames/%04d.ppm" \
      -vf "split[a][b];[a]palettegen[p];[b][p]paletteuse=dither=$dither" -loop 0 "$dir/ffmpeg-dither-$dither.gif"
  done
  peers=$(ls "$dir"/imagemagick.gif "$dir"/ffmpeg-*.gif 2>/dev/null)
  nice -n 10 "$bench" compare "$w" "$h" "$dir/ours.gif" $peers
  smallest=$(stat -c %s $peers | sort -n | head -1)
  ours=$(stat -c %s "$dir/ours.gif")
  echo "$size ours / smallest peer: $(awk "BEGIN { printf \"%.3f\", $ours / $smallest }") (goal at most 0.8)"
  rm -rf "$dir/frames"
done
nice -n 10 "$bench" memory
