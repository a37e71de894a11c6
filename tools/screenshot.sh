#!/usr/bin/env bash
# Starts zorvik on a virtual X screen with a window manager, drives it as a
# user would, and saves a screenshot of the whole screen.
#
#   tools/screenshot.sh OUT.png [ARG] [STEP ...]
#
# ARG is passed to zorvik (a test file). Each STEP is one word list:
#   "click TITLE X Y"  click at X,Y inside the window whose caption starts with TITLE
#   "key KEYS"         press keys (xdotool names: Return, Escape, alt+F4)
#   "type TEXT"        type text into the focused control
#   "wait TITLE"       wait until a window whose caption starts with TITLE is shown
# The virtual screen is 640x600 unless ZORVIK_SCREEN gives another (1024x768).
# Example, the password prompt over the main menu of a protected test:
#   tools/screenshot.sh heslo.png chraneny.sst "click Hlavní 83 92" "wait Přístup"
set -euo pipefail
cd "$(dirname "$0")/.."
BIN="$(realpath -m "${ZORVIK_BUILD_DIR:-build}")/bin"
OUT=$(realpath -m "$1")
shift
ARG=()
if [ $# -gt 0 ] && [[ "$1" != *" "* ]]; then
  ARG=("$(realpath -m "$1")")
  shift
fi
STEPS=("$@")

run() {
  openbox >/dev/null 2>&1 &
  local wm=$!
  "$BIN/zorvik" "${ARG[@]}" >/dev/null 2>&1 &
  local app=$!
  trap 'kill $app $wm 2>/dev/null || true' EXIT
  find_window() { timeout 20 xdotool search --sync --name "^$1" | tail -1; }
  find_window "Hlavn" >/dev/null
  sleep 1
  for step in "${STEPS[@]}"; do
    read -r verb rest <<<"$step"
    case "$verb" in
      click)
        read -r title x y <<<"$rest"
        # Qt takes clicks only once its window is active.
        local win
        win=$(find_window "$title")
        xdotool windowactivate --sync "$win" 2>/dev/null || true
        xdotool mousemove --window "$win" "$x" "$y"
        sleep 0.3
        xdotool click 1 ;;
      key) xdotool key $rest ;;
      type) xdotool type "$rest" ;;
      wait) find_window "$rest" >/dev/null ;;
      *) echo "unknown step: $step" >&2; exit 2 ;;
    esac
    sleep 1
  done
  import -window root "$OUT"
}

export BIN OUT
timeout 120 xvfb-run -a -s "-screen 0 ${ZORVIK_SCREEN:-640x600}x24" bash -c "set -eo pipefail; $(declare -p ARG STEPS); $(declare -f run); run"
echo "$OUT"
