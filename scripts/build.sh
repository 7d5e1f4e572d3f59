#!/usr/bin/env bash
# Configures and builds one flavour of Zendrel into build/<flavour>.
#   linux  native plug-in, tools and tests (default)
#   win64  the Windows DLL and tests, cross-built with mingw-w64 (tests run under Wine)
#   tsan | asan  native tests built with clang's ThreadSanitizer / Address+Leak+UB sanitizers
#   bench  native, optimised, with the benchmarks
#   fuzz   the libFuzzer targets (clang)
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-linux}
dir=build/$flavour
common=(-G Ninja -DZENDREL_WERROR=ON)
case $flavour in
  linux) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  win64) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake) ;;
  tsan) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
              "-DCMAKE_CXX_FLAGS=-fsanitize=thread" "-DCMAKE_C_FLAGS=-fsanitize=thread"
              "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread" "-DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=thread"
              -DZENDREL_TOOLS=OFF) ;;
  asan) args=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
              "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
              "-DCMAKE_C_FLAGS=-fsanitize=address,undefined -fno-omit-frame-pointer"
              "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined" "-DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=address,undefined"
              -DZENDREL_TOOLS=OFF) ;;
  bench) args=(-DCMAKE_BUILD_TYPE=Release -DZENDREL_BENCH=ON -DZENDREL_TESTS=OFF) ;;
  fuzz) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
              -DZENDREL_FUZZ=ON -DZENDREL_TESTS=OFF -DZENDREL_TOOLS=OFF) ;;
  *) echo "build.sh: unknown flavour '$flavour' (linux, win64, tsan, asan, bench, fuzz)" >&2; exit 2 ;;
esac
cmake -S . -B "$dir" "${common[@]}" "${args[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
