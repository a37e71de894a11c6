#!/usr/bin/env bash
# A manual check of the RTF export against a real word processor: starts
# Zorvik with the sample test on a virtual screen, exports it as a teacher does
# ("Pomůcky", "Uložit test do RTF", "Připravit", "Uložit"), converts the RTF to
# PDF with LibreOffice and the first page to PNG, for a person to look at.
#
#   tools/check-rtf.sh [OUT_DIR]      (default: build/check-rtf)
#
# Installs LibreOffice Writer (without its GUI) when it is missing; the test
# setup never does, as CI does not need it. Leaves in OUT_DIR: export.png (the
# export window after "Připravit"), Ukazka.rtf, Ukazka.pdf, Ukazka-1.png and
# fonts.txt (the fonts the PDF uses).
set -euo pipefail
cd "$(dirname "$0")/.."
BIN="$(realpath -m "${ZORVIK_BUILD_DIR:-build}")/bin"
OUT=$(realpath -m "${1:-build/check-rtf}")
SAMPLE="$BIN/Testy/Ukazka.sst"

if ! command -v soffice >/dev/null; then
  sudo=""
  [ "$(id -u)" = 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends libreoffice-writer-nogui
fi
for tool in xvfb-run openbox xdotool import pdftoppm pdffonts; do
  command -v "$tool" >/dev/null || { echo "missing $tool: run tools/setup.sh" >&2; exit 1; }
done
[ -x "$BIN/zorvik" ] && [ -f "$SAMPLE" ] || { echo "build first: tools/build.sh" >&2; exit 1; }

mkdir -p "$OUT"
rm -f "$OUT"/Ukazka.* "$OUT"/Ukazka-*.png "$OUT/export.png" "$OUT/fonts.txt"

export_sample() {
  openbox >/dev/null 2>&1 &
  local wm=$!
  "$BIN/zorvik" "$SAMPLE" >/dev/null 2>&1 &
  local app=$!
  trap 'kill $app $wm 2>/dev/null || true' EXIT
  find_window() { timeout 20 xdotool search --sync --name "^$1" | tail -1; }
  # Clicks at X,Y inside the window whose caption starts with TITLE.
  click() {
    local win
    win=$(find_window "$1")
    xdotool windowactivate --sync "$win" 2>/dev/null || true
    xdotool mousemove --window "$win" "$2" "$3"
    sleep 0.3
    xdotool click 1
    sleep 1
  }
  find_window "Hlavn" >/dev/null
  sleep 1
  click "Hlavn" 80 228                 # Pomůcky
  click "Pomocn" 84 20                 # Uložit test do RTF
  click "Ulo" 52 371                   # Připravit
  import -window root "$OUT/export.png"
  click "Ulo" 228 371                  # Uložit
  find_window "Save As" >/dev/null
  sleep 0.5
  xdotool type "$OUT/Ukazka"           # the extension comes from the dialog
  xdotool key Return
  for _ in $(seq 20); do [ -s "$OUT/Ukazka.rtf" ] && break; sleep 0.5; done
}

export BIN OUT SAMPLE
timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" \
  bash -c "set -eo pipefail; $(declare -f export_sample); export_sample"
[ -s "$OUT/Ukazka.rtf" ] || { echo "no RTF was written" >&2; exit 1; }

# A profile of its own, so no settings of the user's LibreOffice are touched.
soffice -env:UserInstallation="file://$OUT/lo-profile" --headless --convert-to pdf --outdir "$OUT" \
  "$OUT/Ukazka.rtf" >/dev/null
pdftoppm -png -r 100 -f 1 -l 1 "$OUT/Ukazka.pdf" "$OUT/Ukazka"
pdffonts "$OUT/Ukazka.pdf" >"$OUT/fonts.txt"
ls "$OUT"/Ukazka-*.png "$OUT/export.png"
cat "$OUT/fonts.txt"
