#!/usr/bin/env bash
# Runs the checks that only a real X display with a window manager can make:
# which window the window manager stacks on top while the program is blocked,
# and what the screen shows then.
# Starts its own virtual display and openbox, and stops them afterwards.
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD_DIR=${ZORVIK_BUILD_DIR:-build}

need=()
for p in xvfb xauth openbox x11-utils imagemagick; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get install -y --no-install-recommends "${need[@]}" ||
    { $SUDO apt-get update && $SUDO apt-get install -y --no-install-recommends "${need[@]}"; }
fi

cmake --build "$BUILD_DIR" --target screens_test_uNastaveni
TESTS="$(realpath "$BUILD_DIR")/tests/bin"
export TESTS

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -euo pipefail
  openbox >/dev/null 2>&1 &
  wm=$!
  trap "kill $wm 2>/dev/null || true" EXIT
  # The window manager is up once it has announced itself on the root window;
  # without it there is nothing to check.
  up=0
  for _ in $(seq 1 600); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then up=1; break; fi
    kill -0 $wm 2>/dev/null || break
    sleep 0.1
  done
  if [ $up -ne 1 ]; then echo "x11: openbox did not start" >&2; exit 1; fi
  QT_QPA_PLATFORM=xcb "$TESTS/screens_test_uNastaveni" \
    --gtest_filter="UpdateFromSettings.TheNoticeStandsDrawnOnTopWhileTheServerIsSlow"
'
