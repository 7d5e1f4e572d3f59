#!/usr/bin/env bash
# Runs the same deterministic engine scenarios through the Linux plug-in
# (build/linux) and the Windows DLL under Wine (build/win64) and compares the
# output bytes. Exits non-zero, saying where, when they differ.
#   LINUX_BUILD, WIN64_BUILD   build folders (default build/linux, build/win64)
#   ZENDREL_WINEPREFIX         Wine prefix to use (default: cmake/wine-run.sh's)
set -euo pipefail
cd "$(dirname "$0")/.."
linux_build=${LINUX_BUILD:-build/linux}
win_build=${WIN64_BUILD:-build/win64}
linux_dump=$linux_build/tests/module/module_scenario_dump
win_dump=$win_build/tests/module/module_scenario_dump.exe

for f in "$linux_dump" "$win_dump"; do
  if [ ! -x "$f" ] && [ ! -f "$f" ]; then
    echo "compare-platforms: $f is missing; build both flavours first (scripts/build.sh linux; scripts/build.sh win64)" >&2
    exit 2
  fi
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/zendrel-compare.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

if ! "$linux_dump" >"$tmp/linux.bin"; then
  echo "compare-platforms: the Linux scenario program failed (see above)" >&2
  exit 1
fi
# The Windows program finds zendrel.dll beside itself; run it from its folder.
if ! (cd "$(dirname "$win_dump")" && "$OLDPWD/cmake/wine-run.sh" "./$(basename "$win_dump")") >"$tmp/win64.bin"; then
  echo "compare-platforms: the Windows scenario program failed under Wine (see above)" >&2
  exit 1
fi

linux_size=$(stat -c %s "$tmp/linux.bin")
win_size=$(stat -c %s "$tmp/win64.bin")
if [ "$linux_size" -eq 0 ]; then
  echo "compare-platforms: the Linux scenario program wrote nothing" >&2
  exit 1
fi
if ! cmp -s "$tmp/linux.bin" "$tmp/win64.bin"; then
  where=$(cmp "$tmp/linux.bin" "$tmp/win64.bin" 2>&1 | head -1 || true)
  echo "compare-platforms: DIFFERENCE between zendrel.so and zendrel.dll output" >&2
  echo "  linux: $linux_size bytes, win64: $win_size bytes; $where" >&2
  echo "  (byte offsets count raw 32-bit output floats, left then right channel per block, then display texts)" >&2
  exit 1
fi
echo "compare-platforms: zendrel.so and zendrel.dll gave identical output ($linux_size bytes)"
