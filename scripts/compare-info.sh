#!/usr/bin/env bash
# Prints the scanner view (with the life-cycle run) of the Linux plug-in (zendrel-info on zendrel.so,
# build/linux) and of the Windows DLL (zendrel-info.exe on zendrel.dll under
# Wine, build/win64) and compares the two texts byte for byte. Exits non-zero,
# showing the difference, when they differ.
#   LINUX_BUILD, WIN64_BUILD   build folders (default build/linux, build/win64)
#   ZENDREL_WINEPREFIX         Wine prefix to use (default: cmake/wine-run.sh's)
set -euo pipefail
cd "$(dirname "$0")/.."
linux_build=${LINUX_BUILD:-build/linux}
win_build=${WIN64_BUILD:-build/win64}
linux_info=$linux_build/host/info/zendrel-info
win_info=$win_build/host/info/zendrel-info.exe

for f in "$linux_info" "$win_info" "$linux_build/module/zendrel.so" "$(dirname "$win_info")/zendrel.dll"; do
  if [ ! -f "$f" ]; then
    echo "compare-info: $f is missing; build both flavours first (scripts/build.sh linux; scripts/build.sh win64)" >&2
    exit 2
  fi
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/zendrel-info.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

if ! "$linux_info" --lifecycle "$linux_build/module/zendrel.so" >"$tmp/linux.txt"; then
  echo "compare-info: zendrel-info failed on zendrel.so (see above)" >&2
  exit 1
fi
# The Windows program is given the DLL beside it by its plain name.
if ! (cd "$(dirname "$win_info")" && "$OLDPWD/cmake/wine-run.sh" ./zendrel-info.exe --lifecycle zendrel.dll) >"$tmp/win64.txt"; then
  echo "compare-info: zendrel-info.exe failed on zendrel.dll under Wine (see above)" >&2
  exit 1
fi
if [ ! -s "$tmp/linux.txt" ]; then
  echo "compare-info: zendrel-info printed nothing for zendrel.so" >&2
  exit 1
fi
if ! cmp -s "$tmp/linux.txt" "$tmp/win64.txt"; then
  echo "compare-info: DIFFERENCE between the zendrel.so and zendrel.dll scanner texts:" >&2
  diff "$tmp/linux.txt" "$tmp/win64.txt" | head -20 >&2 || true
  exit 1
fi
echo "compare-info: zendrel.so and zendrel.dll give identical scanner texts ($(wc -l <"$tmp/linux.txt") lines)"
