#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test headless through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${ZORVIK_BUILD_DIR:-build}" --output-on-failure --parallel "$(nproc)"
