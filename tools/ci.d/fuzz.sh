#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) in a
# build folder of their own and runs each on its seed corpus for a while.
# Fails when any target finds a crash, a leak, undefined behaviour or a hang.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash tools/setup.sh

BUILD_DIR=${ZORVIK_FUZZ_BUILD_DIR:-build-fuzz}
FUZZ_SECONDS=${ZORVIK_FUZZ_SECONDS:-60}

if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZORVIK_FUZZ=ON -DZORVIK_BUILD_TESTS=OFF -DZORVIK_BENCH=OFF
fi
cmake --build "$BUILD_DIR" --target fuzz_all --parallel "$(nproc)"

targets=()
for f in "$BUILD_DIR"/fuzz/fuzz_*; do
  if [ -f "$f" ] && [ -x "$f" ]; then targets+=("$f"); fi
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "No fuzz targets were built" >&2
  exit 1
fi

status=0
for target in "${targets[@]}"; do
  name=${target##*/fuzz_}
  seeds=fuzz/corpus/$name
  # New inputs go to a scratch corpus, so the committed seeds stay as they are.
  scratch=$(mktemp -d)
  artifacts=$BUILD_DIR/fuzz-artifacts/$name/
  mkdir -p "$artifacts"
  echo "== fuzzing $name for ${FUZZ_SECONDS}s"
  if ! "$target" -max_total_time="$FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$artifacts" -print_final_stats=1 "$scratch" "$seeds"; then
    echo "fuzz target $name found a problem; the input is in $artifacts" >&2
    status=1
  fi
  rm -rf "$scratch"
done
exit $status
