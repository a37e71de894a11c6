#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Zorvik needs.
# Safe to run again: apt-get only runs when something is missing.
set -euo pipefail

PACKAGES=(
  # build
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  # Qt's own texts (Yes, No, Open, Cancel) in the user's language
  qt6-translations-l10n
  libjpeg62-turbo-dev libcurl4-openssl-dev
  # printed jobs are handed to the print system's queue
  libcups2-dev
  # the help viewer reads ".chm" files; chmcmd compiles the help file
  libchm-dev fp-utils
  # tests, fuzzing, benchmarks
  libgtest-dev libgmock-dev clang libclang-rt-14-dev python3-pil
  # the faces that stand in for the screens' "Comic Sans MS" and "MS Sans Serif"
  fonts-comic-neue fonts-urw-base35
  # running and looking at the program
  xvfb xauth x11-apps imagemagick poppler-utils openbox xdotool
  # the registration of the test file type, and the tools its tests ask
  shared-mime-info desktop-file-utils xdg-utils libfile-mimeinfo-perl libglib2.0-bin
  # the https download of the version file checks the server against these
  ca-certificates
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
echo "Installing: ${missing[*]}"
if ! $SUDO apt-get install -y --no-install-recommends "${missing[@]}"; then
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
