#!/usr/bin/env bash
# All images of resources/images.txt side by side at their own size, each on a
# checkerboard (so transparency shows) and labelled with its name and size.
#   contact_sheet.sh <resources dir> <output png> [density: 1 (default), 2 or 3]
set -euo pipefail
res="$1"
out="$2"
density="${3:-1}"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
i=0
while read -r name; do
  [ -z "$name" ] && continue
  # the denser sets: NAME.PNG's is NAME@2X.PNG
  [ "$density" = 1 ] || name="${name%.*}@${density}X.${name##*.}"
  size="$(identify -format '%wx%h' "$res/$name")"
  convert -size "$size" pattern:checkerboard -fill '#6a6a6a' -colorize 60% "$tmp/check.png"
  convert "$tmp/check.png" "$res/$name" -composite \
    -bordercolor '#202020' -border 1 \
    \( -size 300x16 xc:'#383838' -fill white -font DejaVu-Sans -pointsize 11 -gravity west \
       -annotate +2+0 "$name  ${size}" \) -background '#383838' -gravity northwest +swap -append \
    -bordercolor '#383838' -border 6 "$tmp/$(printf '%02d' $i).png"
  i=$((i + 1))
done < "$res/images.txt"
# Row 1: the panel and the splash; row 2: the strips; row 3: the small pieces.
convert -background '#383838' \
  \( "$tmp/00.png" "$tmp/09.png" -gravity north +append \) \
  \( "$tmp/05.png" "$tmp/06.png" "$tmp/07.png" "$tmp/08.png" -gravity north +append \) \
  \( "$tmp/01.png" "$tmp/02.png" "$tmp/03.png" "$tmp/04.png" "$tmp/10.png" "$tmp/11.png" \
     "$tmp/12.png" "$tmp/13.png" "$tmp/14.png" "$tmp/15.png" -gravity north +append \) \
  -gravity northwest -append "$out"
