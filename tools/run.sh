#!/usr/bin/env bash
# Sets up the machine, builds, and starts Zorvik with the sample test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/build.sh
BIN="${ZORVIK_BUILD_DIR:-build}/bin"
SAMPLE="$BIN/Testy/Ukazka.sst"
if [ -f "$SAMPLE" ]; then
  exec "$BIN/zorvik" "$SAMPLE"
fi
exec "$BIN/zorvik"
