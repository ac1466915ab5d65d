#!/usr/bin/env bash
# Configures and builds one of the build folders:
#   product: the shipped 32-bit program (build/product)
#   tests:   the 64-bit test build with every test program (build/tests)
#   run:     a 64-bit build of the program alone, for running here (build/run)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc 2>/dev/null || echo 2)
product_scr="$top/build/product/Marrowdale 3D Screensaver.scr"
case "${1:?usage: build.sh product|tests|run}" in
  product)
    cmake -S . -B build/product -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake >/dev/null
    cmake --build build/product -j "$jobs" ;;
  tests)
    cmake -S . -B build/tests -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-mingw.cmake \
      -DMARROWDALE_TESTS=ON -DMARROWDALE_PRODUCT_SCR="$product_scr" >/dev/null
    cmake --build build/tests -j "$jobs" ;;
  run)
    cmake -S . -B build/run -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-mingw.cmake >/dev/null
    cmake --build build/run -j "$jobs" --target screensaver wait_for_settings ;;
  *) echo "unknown build: $1" >&2; exit 2 ;;
esac
