#!/usr/bin/env bash
# Builds both trees: build/native (Linux) and build/win (MinGW-w64).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
jobs=$(nproc)
cmake -S "$KESTRUP_ROOT" -B "$KESTRUP_BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$KESTRUP_BUILD/native" -j "$jobs"
cmake -S "$KESTRUP_ROOT" -B "$KESTRUP_BUILD/win" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_TOOLCHAIN_FILE="$KESTRUP_ROOT/cmake/mingw-w64.cmake" \
      -DKESTRUP_NATIVE_BUILD="$KESTRUP_BUILD/native" >/dev/null
cmake --build "$KESTRUP_BUILD/win" -j "$jobs"
