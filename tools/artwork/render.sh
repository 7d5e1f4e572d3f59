#!/usr/bin/env bash
# Regenerates the editor's images in resources/ from artwork.cpp, then draws a
# contact sheet of all of them and a mock-up of the panel with its controls.
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

# Every image of the list must exist after a run, and nothing else is written.
while read -r name; do
  [ -z "$name" ] && continue
  [ -f "$root/resources/$name" ] || { echo "render: $name was not drawn" >&2; exit 1; }
done < "$root/resources/images.txt"

"$here/contact_sheet.sh" "$root/resources" "$out/contact_sheet.png"
"$here/mockup.sh" "$root/resources" "$out/mockup.png"
echo "render: images in resources/, sheets in $out (contact_sheet.png, mockup.png)"
