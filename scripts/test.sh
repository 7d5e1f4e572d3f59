#!/usr/bin/env bash
# Builds everything and runs every test: native, cross-built under Wine, and the
# native suite again under ThreadSanitizer and Address/Leak/UB sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# One X display for the whole run: the real-window tests open their windows on
# it, natively and under Wine (whose processes must all see the same display).
if [ -z "${DISPLAY:-}" ]; then exec bash cmake/with-display.sh bash scripts/test.sh "$@"; fi
jobs=$(nproc)

cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${ZENDREL_WINEPREFIX:-}" ] && rm -rf "$ZENDREL_WINEPREFIX"
  return 0
}
trap cleanup EXIT

# Files in the source tree outside the build and output folders, tracked or
# not: a test or tool that writes beside the sources shows up as a difference.
tree_files() {
  git -C "$PWD" ls-files --others --exclude-standard 2>/dev/null
  git -C "$PWD" ls-files --others --ignored --exclude-standard --directory 2>/dev/null |
    grep -v -E '^(build|out|third_party/downloads)/' || true
}
tree_before=$(tree_files | sort)

run_ctest() { ctest --test-dir "build/$1" --output-on-failure -j "$jobs" --timeout 900; }

echo "== native (Linux plug-in)"
bash scripts/build.sh linux
run_ctest linux

echo "== cross-built (Windows DLL under Wine)"
bash scripts/build.sh win64
export ZENDREL_WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/zendrel-wine.XXXXXX")
rmdir "$ZENDREL_WINEPREFIX"
cmake/wine-run.sh cmd /c exit >/dev/null 2>&1 || true   # create the prefix once, before tests run in parallel
run_ctest win64

echo "== the Linux plug-in and the Windows DLL agree"
bash scripts/compare-platforms.sh
bash scripts/compare-info.sh

echo "== ThreadSanitizer"
bash scripts/build.sh tsan
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/cmake/tsan.supp" run_ctest tsan

echo "== AddressSanitizer, LeakSanitizer, UndefinedBehaviorSanitizer"
bash scripts/build.sh asan
ASAN_OPTIONS="detect_leaks=1" run_ctest asan

echo "== PNG decoder fuzzer (a short run over its seeds; long runs: see README)"
bash scripts/build.sh fuzz
fuzz_corpus=$(mktemp -d "${TMPDIR:-/tmp}/zendrel-corpus.XXXXXX")
build/fuzz/fuzz/fuzz_png_decode -max_total_time=20 -malloc_limit_mb=512 -print_final_stats=1 \
  "$fuzz_corpus" fuzz/seeds 2>&1 | tail -n 3
rm -rf "$fuzz_corpus"

echo "== host-interface fuzzers (a short run each over its seeds)"
for target in dispatch audio; do
  fuzz_corpus=$(mktemp -d "${TMPDIR:-/tmp}/zendrel-corpus.XXXXXX")
  build/fuzz/fuzz/fuzz_host_$target -max_total_time=20 -malloc_limit_mb=1024 -print_final_stats=1 \
    "$fuzz_corpus" fuzz/host-seeds/$target 2>&1 | tail -n 3
  rm -rf "$fuzz_corpus"
done

echo "== editor event fuzzer (a short run over its seeds and regression inputs)"
fuzz_corpus=$(mktemp -d "${TMPDIR:-/tmp}/zendrel-corpus.XXXXXX")
build/fuzz/fuzz/fuzz_editor_events -max_total_time=20 -malloc_limit_mb=1024 -print_final_stats=1 \
  "$fuzz_corpus" fuzz/editor-seeds 2>&1 | tail -n 3
rm -rf "$fuzz_corpus"

echo "== preset-file fuzzer (a short run over the factory files)"
fuzz_corpus=$(mktemp -d "${TMPDIR:-/tmp}/zendrel-corpus.XXXXXX")
build/fuzz/fuzz/fuzz_presets -max_total_time=20 -malloc_limit_mb=1024 -print_final_stats=1 \
  "$fuzz_corpus" fuzz/preset-seeds 2>&1 | tail -n 3
rm -rf "$fuzz_corpus"

echo "== the source tree holds nothing the run wrote"
tree_after=$(tree_files | sort)
if [ "$tree_before" != "$tree_after" ]; then
  echo "test.sh: the run left files in the source tree (tests and tools must write below build/ or a temporary folder):" >&2
  comm -13 <(echo "$tree_before") <(echo "$tree_after") >&2
  exit 1
fi

echo "== all test suites passed"
