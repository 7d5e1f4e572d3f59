#!/usr/bin/env bash
# The panel as the editor shows it: BASE.PNG with a frame of every strip pasted
# at the rectangles the editor gives its controls, with made-up values, so
# captions, grooves and the information button can be checked against them.
#   mockup.sh <resources dir> <output png> [splash]   (splash: also shows the about box)
set -euo pipefail
res="$1"
out="$2"
args=()
# paste <image> <frame height or 0> <frame> <x> <y>
paste() {
  local img="$1" fh="$2" f="$3" x="$4" y="$5"
  if [ "$fh" -gt 0 ]; then
    local w
    w="$(identify -format '%w' "$res/$img")"
    args+=( \( "$res/$img" -crop "${w}x${fh}+0+$((f * fh))" +repage \) -geometry "+$x+$y" -composite )
  else
    args+=( "$res/$img" -geometry "+$x+$y" -composite )
  fi
}
gates=(100 80 55 30 90 70 45 20 100 62 38 12 85 50 25 0)
attacks=(10 30 0 50 20 0 70 5 0 40 15 60 0 25 80 100)
decays=(40 20 60 0 80 35 10 50 100 0 45 15 65 30 5 0)
merges=(0 0 1 0 0 0 0 1 0 0 1 1 0 0 0 0)
for i in $(seq 0 15); do
  x=$((55 + 50 * i))
  paste MERGE.PNG 20 "${merges[$i]}" "$x" 26
  paste SLIDERSLOT1.PNG 0 0 "$x" 50
  paste SLIDERBLUEBIG.PNG 0 0 "$x" $((50 + (100 - gates[i]) * (200 - 28) / 100))
  paste SLIDERSLOT3.PNG 0 0 "$x" 255
  paste SLIDERBLUESMALL.PNG 0 0 "$x" $((255 + (100 - attacks[i]) * (95 - 28) / 100))
  paste SLIDERSLOT3.PNG 0 0 $((x + 22)) 255
  paste SLIDERBLUESMALL.PNG 0 0 $((x + 22)) $((255 + (100 - decays[i]) * (95 - 28) / 100))
  paste NOTELENGTHINDICATOR.PNG 28 $((i % 13)) "$x" 355
  paste DECREMENT.PNG 18 $((i == 9 ? 1 : 0)) "$x" 383
  paste INCREMENT.PNG 18 $((i == 5 ? 1 : 0)) $((x + 20)) 383
done
paste STEP.PNG 24 6 55 401
paste STEPSMALL.PNG 24 22 55 425
paste STEPCOUNTINDICATOR.PNG 28 15 55 449
paste NOTELENGTHINDICATOR.PNG 28 4 105 449
paste DECREMENT.PNG 18 0 55 477
paste INCREMENT.PNG 18 1 75 477
paste DECREMENT.PNG 18 0 105 477
paste INCREMENT.PNG 18 0 125 477
paste CURRENTPAGE.PNG 28 0 55 495
if [ "${3:-}" = splash ]; then
  paste SPLASHSCREEN.PNG 0 0 200 55
fi
convert "$res/BASE.PNG" "${args[@]}" "$out"
