#!/usr/bin/env bash
# Configures and builds one flavour of Zendrel into build/<flavour>, with the
# configure preset of the same name (CMakePresets.json):
#   linux  native plug-in, tools and tests (default)
#   win64  the Windows DLL and tests, cross-built with mingw-w64 (tests run under Wine)
#   tsan | asan  native tests built with clang's ThreadSanitizer / Address+Leak+UB sanitizers
#   bench  native, optimised, with the benchmarks
#   win64-bench  the DLL and the editor's memory figures, cross-built (run under Wine)
#   fuzz   the libFuzzer targets (clang)
# Targets given after the flavour are built instead of everything:
#   scripts/build.sh linux zendrel zendrel-info
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-linux}
shift || true
case $flavour in
  linux | win64 | tsan | asan | bench | win64-bench | fuzz) ;;
  *) echo "build.sh: unknown flavour '$flavour' (linux, win64, tsan, asan, bench, win64-bench, fuzz)" >&2; exit 2 ;;
esac
cmake --preset "$flavour" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "build/$flavour" -j "$(nproc)" "${targets[@]}"
