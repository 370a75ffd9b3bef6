#!/usr/bin/env bash
# Configures and builds every tree: native (sanitizers), x86_64 Windows (run under wine64),
# i686 Windows (the product that ships, compile and link only) and the libFuzzer targets.
set -euo pipefail
. "$(dirname "$0")/env.sh"
cd "$KESTRUNE_ROOT"
jobs=$(nproc)

configure() {  # build dir, cmake arguments...
  local dir=$1; shift
  [ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
configure "$KESTRUNE_BUILD/native" -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc \
  "-DCMAKE_CXX_FLAGS=$sanitize" "-DCMAKE_EXE_LINKER_FLAGS=$sanitize"
configure "$KESTRUNE_BUILD/win64" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
  "-DKESTRUNE_DISC_DIR=$KESTRUNE_BUILD/disc-win64"
configure "$KESTRUNE_BUILD/win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DKESTRUNE_TESTS=OFF \
  "-DKESTRUNE_DISC_DIR=$KESTRUNE_BUILD/disc-win32"
configure "$KESTRUNE_BUILD/fuzz" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DKESTRUNE_FUZZ=ON

for tree in native win64 win32 fuzz; do
  echo "build: $tree"
  cmake --build "$KESTRUNE_BUILD/$tree" -j "$jobs"
done
