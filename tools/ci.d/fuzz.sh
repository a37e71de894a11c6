#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) in a
# build folder of their own and fuzzes each from its committed corpus for a while.
# Fails when any target finds a crash, a leak, undefined behaviour or a hang.
#
# The run is seeded, so a failure seen on one machine can be replayed on
# another: ZORVIK_FUZZ_SEED=<seed> bash tools/ci.d/fuzz.sh. A failing input is
# kept under <build>/fuzz-artifacts/<target>/ and printed in hex at the end.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash tools/setup.sh

BUILD_DIR=${ZORVIK_FUZZ_BUILD_DIR:-build-fuzz}
FUZZ_SECONDS=${ZORVIK_FUZZ_SECONDS:-60}
FUZZ_SEED=${ZORVIK_FUZZ_SEED:-20261209}

WERROR=-DZORVIK_WERROR=${ZORVIK_WERROR:-OFF}
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZORVIK_FUZZ=ON -DZORVIK_BUILD_TESTS=OFF -DZORVIK_BENCH=OFF "$WERROR"
else
  cmake "$BUILD_DIR" "$WERROR" >/dev/null
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

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
failed=()
for target in "${targets[@]}"; do
  name=${target##*/fuzz_}
  seeds=fuzz/corpus/$name
  artifacts=$BUILD_DIR/fuzz-artifacts/$name/
  rm -rf "$artifacts"
  mkdir -p "$artifacts"
  log=$logs/$name.log
  options=(-timeout=10 -rss_limit_mb=2048 -artifact_prefix="$artifacts")
  # libFuzzer first runs every committed input (the ones that once found a
  # fault among them), so an old fault that comes back fails here whatever the
  # fuzzing then happens to try.
  echo "== fuzzing $name for ${FUZZ_SECONDS}s from seed $FUZZ_SEED"
  # New inputs go to a scratch corpus, so the committed seeds stay as they are.
  scratch=$(mktemp -d)
  if ! "$target" "${options[@]}" -seed="$FUZZ_SEED" -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 \
      "$scratch" "$seeds" >"$log" 2>&1; then
    failed+=("$name")
  fi
  tail -n 8 "$log"
  rm -rf "$scratch"
done

[ ${#failed[@]} -eq 0 ] && exit 0

# What went wrong, last, where a truncated CI log still shows it.
for name in "${failed[@]}"; do
  echo
  echo "== fuzz target $name found a problem (seed $FUZZ_SEED)"
  grep -E -A 30 '^==[0-9]+==ERROR|runtime error:|^SUMMARY|ALARM|out-of-memory|Test unit written' \
    "$logs/$name.log" | grep -v -E '^#[0-9]+' | head -n 60 || tail -n 40 "$logs/$name.log"
  for input in "$BUILD_DIR/fuzz-artifacts/$name"/*; do
    [ -f "$input" ] || continue
    echo "-- $input ($(stat -c %s "$input") bytes), the first 256 in hex:"
    head -c 256 "$input" | od -A d -t x1
  done
done
exit 1
