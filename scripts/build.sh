#!/usr/bin/env bash
# Configures and builds one of the build folders:
#   product: the shipped 32-bit program (build/product)
#   tests:   the test programs for i686, the shipped architecture, which start
#            the product build's program itself (build/tests)
#   tests64: the same test programs for x86_64, with a 64-bit build of the
#            program (build/tests64)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc 2>/dev/null || echo 2)
product_scr="$top/build/product/Marrowdale 3D Screensaver.scr"
case "${1:?usage: build.sh product|tests|tests64}" in
  product)
    cmake -S . -B build/product -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake >/dev/null
    cmake --build build/product -j "$jobs" ;;
  tests)
    cmake -S . -B build/tests -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake \
      -DMARROWDALE_TESTS=ON -DMARROWDALE_PRODUCT_SCR="$product_scr" >/dev/null
    cmake --build build/tests -j "$jobs" ;;
  tests64)
    cmake -S . -B build/tests64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-mingw.cmake \
      -DMARROWDALE_TESTS=ON -DMARROWDALE_PRODUCT_SCR="$product_scr" >/dev/null
    cmake --build build/tests64 -j "$jobs" ;;
  *) echo "unknown build: $1" >&2; exit 2 ;;
esac
