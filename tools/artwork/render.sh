#!/usr/bin/env bash
# Regenerates the editor's images in resources/ from artwork.cpp, each at 1x
# (NAME.PNG), 2x (NAME@2X.PNG) and 3x (NAME@3X.PNG) density, then draws a
# contact sheet of the 1x and of the 2x set and a mock-up of the panel with its
# controls.
#   tools/artwork/render.sh [output dir for the sheets, default build/artwork]
# The images are committed; run this only when the art changes.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$root/build/artwork-tool"
out="${1:-$root/build/artwork}"
mkdir -p "$out"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 >/dev/null
"$build/zendrel_artwork" "$root/resources"

# Every image of the list must exist after a run, at each density and exactly
# that many times the 1x size.
while read -r name; do
  [ -z "$name" ] && continue
  [ -f "$root/resources/$name" ] || { echo "render: $name was not drawn" >&2; exit 1; }
  read -r w h < <(identify -format '%w %h\n' "$root/resources/$name")
  for d in 2 3; do
    dense="${name%.*}@${d}X.${name##*.}"
    [ -f "$root/resources/$dense" ] || { echo "render: $dense was not drawn" >&2; exit 1; }
    size="$(identify -format '%wx%h' "$root/resources/$dense")"
    [ "$size" = "$((w * d))x$((h * d))" ] ||
      { echo "render: $dense is $size, not ${d} x ${w}x${h}" >&2; exit 1; }
  done
done < "$root/resources/images.txt"

"$here/contact_sheet.sh" "$root/resources" "$out/contact_sheet.png"
"$here/contact_sheet.sh" "$root/resources" "$out/contact_sheet@2x.png" 2
"$here/mockup.sh" "$root/resources" "$out/mockup.png"
echo "render: images in resources/, sheets in $out (contact_sheet.png, contact_sheet@2x.png, mockup.png)"
