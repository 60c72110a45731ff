#!/usr/bin/env bash
# Skin container figures: the encoder's compression ratio on a skin folder, and the decode speed of a
# container of about 1 MB, each beside a reference measured in the same run (gzip on the same bytes,
# a plain memory copy of the same unpacked size).
#   bench/skin_decode.sh [SKIN_FOLDER]   (a folder of .bmp files and one .ini; generated when not given)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/env.sh"
native=$KESTRUP_BUILD/native
cmake -S "$KESTRUP_ROOT" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$native" --target kestrup-skinpack kestrup-skinbench >/dev/null
pack=$native/tools/skintools/kestrup-skinpack
bench=$native/tools/skintools/kestrup-skinbench
work=$KESTRUP_BUILD/bench-skin
rm -rf "$work" && mkdir -p "$work"

# A skin-like folder: frame strips, gradients, magenta-cornered borders, glyph-like buttons, and a description.
make_skin() {
  local dir=$1 copies=$2 i
  mkdir -p "$dir"
  for i in $(seq 1 "$copies"); do
    convert -size $((60 + i * 7))x22 gradient:'#2d5a8c'-'#a8c8e8' -type TrueColor BMP3:"$dir/caption$i.bmp"
    convert -size 92x23 xc:'#d4d0c8' -fill '#808080' -draw 'rectangle 0,0 22,22' -fill '#ffffff' \
      -draw 'rectangle 23,0 45,22' -fill '#3060a0' -draw 'rectangle 46,0 68,22' -fill '#ff00ff' \
      -draw 'point 0,0' -draw 'point 91,0' -draw 'point 0,22' -draw 'point 91,22' \
      -type TrueColor BMP3:"$dir/button$i.bmp"
    convert -size 8x$((120 + i * 3)) gradient:'#e8e8f0'-'#9098a8' -type TrueColor BMP3:"$dir/border$i.bmp"
    convert -size 64x16 xc:'#ff00ff' -fill '#204080' -draw "circle 8,8 8,$((2 + i % 5))" \
      -draw 'rectangle 20,4 60,12' -type TrueColor BMP3:"$dir/glyph$i.bmp"
  done
  printf '[Form]\r\nCaption=caption1.bmp\r\nframecount=4\r\n[Buttons]\r\nimage=button1.bmp\r\ntrans=1\r\n' >"$dir/skin.ini"
}

# Noisier pictures (fractal plasma) so that the packed container reaches about 1 MB.
make_large() {
  local dir=$1 i
  make_skin "$dir" 8
  for i in $(seq 1 18); do
    convert -seed "$i" -size 160x128 plasma:'#406080'-'#c0d0e0' -type TrueColor BMP3:"$dir/plasma$i.bmp"
  done
}

folder=${1:-}
if [ -z "$folder" ]; then
  folder=$work/skin
  make_skin "$folder" 10
fi
raw=$(cat "$folder"/*.bmp "$folder"/*.ini | wc -c)
"$pack" "$folder" "$work/skin.skn" >/dev/null
packed=$(stat -c %s "$work/skin.skn")
gz=$(cat "$folder"/*.bmp "$folder"/*.ini | gzip -9 | wc -c)
echo "== compression on $(ls "$folder"/*.bmp | wc -l) bitmaps ($folder)"
awk -v r="$raw" -v p="$packed" -v g="$gz" 'BEGIN {
  printf "input          %d bytes\n", r
  printf "container      %d bytes  ratio %.3f (%.1f : 1)\n", p, p / r, r / p
  printf "gzip -9        %d bytes  ratio %.3f (%.1f : 1)  reference\n", g, g / r, r / g }'
"$bench" "$work/skin.skn" 50 | grep -E '^decode'

make_large "$work/large"
"$pack" "$work/large" "$work/large.skn" >/dev/null
echo "== decode of a $(stat -c %s "$work/large.skn")-byte container"
"$bench" "$work/large.skn" 20

# Reference: gzip -d of the same unpacked bytes, timed over the same number of rounds.
cat "$work/large"/*.bmp "$work/large"/*.ini | gzip -6 >"$work/large.gz"
unpacked=$(gzip -dc "$work/large.gz" | wc -c)
start=$(date +%s.%N)
for _ in $(seq 1 20); do gzip -dc "$work/large.gz" >/dev/null; done
end=$(date +%s.%N)
awk -v s="$start" -v e="$end" -v u="$unpacked" -v z="$(stat -c %s "$work/large.gz")" 'BEGIN {
  t = (e - s) / 20
  printf "gzip -d        %.2f ms: %.1f MB/s unpacked (%d-byte .gz, process start included)  reference\n",
    t * 1000, u / 1048576 / t, z }'
