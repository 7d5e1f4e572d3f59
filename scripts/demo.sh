#!/usr/bin/env bash
# The main job: builds both plug-ins and renders the demo through the Linux one.
#   out/zendrel-demo.wav  a few bars of a chord gated by the demo pattern
#   out/zendrel-demo.png  input and output envelopes of one pattern cycle
#   out/zendrel-info.txt  what a host's scanner sees of the plug-in
#   out/zendrel-editor.png  the editor showing the demo pattern, as the plug-in draws it
#   out/zendrel-editor@2x.png  the same at display scale 2 (1800 x 1100)
#   out/presets/          the factory preset files (banks, programs, Ardour's file)
#   out/zendrel-presets.png  the gallery: every factory pattern's gain over one cycle
# Only the plug-ins and the tools run here are built; scripts/test.sh builds the
# rest into the same folders.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh linux zendrel zendrel-info zendrel-render zendrel-snapshot zendrel-preset zendrel_factory_presets
bash scripts/build.sh win64 zendrel zendrel-info
mkdir -p out
build/linux/host/info/zendrel-info build/linux/module/zendrel.so > out/zendrel-info.txt
echo "demo: wrote out/zendrel-info.txt ($(grep -c . out/zendrel-info.txt) lines)"
(cd out && ../build/linux/host/render/zendrel-render)
# A user's ZENDREL_SCALE would override the scale the pictures ask for.
env -u ZENDREL_SCALE build/linux/host/snapshot/zendrel-snapshot --demo --position 1.1 out/zendrel-editor.png |
  sed 's/^zendrel-snapshot/demo/'
env -u ZENDREL_SCALE build/linux/host/snapshot/zendrel-snapshot --demo --position 1.1 --scale 2 \
  out/zendrel-editor@2x.png | sed 's/^zendrel-snapshot/demo/'
rm -rf out/presets && cp -r build/linux/presets out/presets
echo "demo: wrote out/presets/ ($(grep -c . out/presets/index.txt) factory patterns in $(ls out/presets/*.fxb | wc -l) banks)"
build/linux/host/render/zendrel-render --preset out/presets/vst-1516524140 --gallery out/zendrel-presets.png |
  sed 's/^wrote/demo: wrote/'
echo "demo: plug-ins in build/linux/module/zendrel.so and build/win64/module/zendrel.dll"
