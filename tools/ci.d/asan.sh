#!/usr/bin/env bash
# Builds the test programs with AddressSanitizer and UBSan in a build directory
# of their own and runs them. The resampler's edge cases (one pixel lines, one
# pixel targets, kernels reaching past the picture) must never touch memory
# outside the picture, nor may damaged help map files, stored map data and help
# files make the help layer and its viewer read outside their buffers, nor may
# damaged test, settings or language files do so in the model. The GUI layers
# (toolkit, what's-this, screens, Lexorin) run here too: a handler running on a
# screen or control that is being destroyed is a UBSan report, and fails the run.
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD_DIR=${ZORVIK_ASAN_BUILD_DIR:-build-asan}
FOLDERS=(platform model genlib printing help help/viewer toolkit whatsthis screens langedit)
WERROR=-DZORVIK_WERROR=${ZORVIK_WERROR:-OFF}

if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZORVIK_SANITIZE=ON -DZORVIK_BENCH=OFF "$WERROR"
else
  cmake "$BUILD_DIR" "$WERROR" >/dev/null
fi

targets=()
for folder in "${FOLDERS[@]}"; do
  for src in tests/"$folder"/test_*.cpp; do
    [ -e "$src" ] || continue
    targets+=("${folder##*/}_$(basename "$src" .cpp)")
  done
done
cmake --build "$BUILD_DIR" --parallel "$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tools/ci.d/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export QT_QPA_PLATFORM=offscreen
regex="^($(IFS='|'; echo "${FOLDERS[*]##*/}"))\\."
ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel "$(nproc)" -R "$regex"
