#!/usr/bin/env bash
# Draws the picture of the default skin: kestrup-skinart preview, then the texts put on with ImageMagick.
#   preview.sh NATIVE_BUILD_DIR OUT.png
set -euo pipefail
build=$1 out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tools/skinart/kestrup-skinart" preview "$build/skinart/Kestrup.skinstream" "$work/p.bmp" "$work/texts"
args=()
while read -r x y colour bold mono size text; do
  font=DejaVu-Sans
  [[ $mono == 1 ]] && font=DejaVu-Sans-Mono
  [[ $bold == 1 ]] && font=$font-Bold
  args+=(-font "$font" -pointsize "$size" -fill "$colour" -annotate "+$x+$y" "$text")
done <"$work/texts"
convert "$work/p.bmp" -alpha off "${args[@]}" "$out"
