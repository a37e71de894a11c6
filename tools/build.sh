#!/usr/bin/env bash
# Configures and builds Zorvik into build/ (or $ZORVIK_BUILD_DIR). Arguments go
# to CMake at every run, also when the build folder exists, so a switch such
# as -DZORVIK_SANITIZE=ON is never silently lost. ZORVIK_WERROR=ON in the
# environment (CI sets it) makes any compiler warning fail the build.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${ZORVIK_BUILD_DIR:-build}
if [ -n "${ZORVIK_WERROR:-}" ]; then set -- "$@" "-DZORVIK_WERROR=$ZORVIK_WERROR"; fi
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
elif [ $# -gt 0 ]; then
  cmake -S . -B "$BUILD_DIR" "$@"
fi
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
