#!/usr/bin/env bash
# Printing on a real print system: starts a CUPS daemon of its own with a PDF
# printer as its default, prints a test in two variants with answer sheets and
# the summary through the real screens, and checks that the five jobs arrive
# as PDF files with the pages the print action laid out; then prints a test
# whose picture is damaged and checks that no job at all arrives from it.
# Needs root (the PDF printer's backend runs as root); stops its daemon and
# removes what it made on the way out.
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD_DIR=${ZORVIK_BUILD_DIR:-build}
QUEUE=ZorvikCheck
if [ "$(id -u)" -ne 0 ]; then echo "cups: this check runs as root (as CI does)" >&2; exit 1; fi

need=()
for p in cups-daemon cups-client cups-filters printer-driver-cups-pdf poppler-utils; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then need+=("$p"); fi
done
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  if ! apt-get install -y --no-install-recommends "${need[@]}"; then
    apt-get update
    apt-get install -y --no-install-recommends "${need[@]}"
  fi
fi
cmake --build "$BUILD_DIR" --target screens_drive_real_printer >/dev/null

work=$(mktemp -d /tmp/zorvik-cups.XXXXXX)
chmod 755 "$work"
mkdir -p "$work"/{etc/ppd,spool,cache,state,log,tmp,out}
chmod 1777 "$work/tmp"
# The PDF printer reads its settings from a file named after the queue's device.
pdfconf=/etc/cups/cups-pdf-$QUEUE.conf
daemon=""
cleanup() {
  if [ -n "$daemon" ]; then
    kill "$daemon" 2>/dev/null || true
    wait "$daemon" 2>/dev/null || true
  fi
  rm -f "$pdfconf"
  rm -rf "$work"
}
trap cleanup EXIT

cat >"$work/etc/cupsd.conf" <<EOF
Listen $work/cups.sock
WebInterface No
Browsing No
LogLevel warn
<Location />
  Order allow,deny
  Allow all
</Location>
EOF
cat >"$work/etc/cups-files.conf" <<EOF
ServerRoot $work/etc
RequestRoot $work/spool
CacheDir $work/cache
StateDir $work/state
TempDir $work/tmp
ErrorLog $work/log/error_log
AccessLog $work/log/access_log
PageLog $work/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
Printcap $work/printcap
EOF
printf 'Out %s\nLabel 1\nGrp lpadmin\nLog %s\n' "$work/out" "$work/log" >"$pdfconf"

/usr/sbin/cupsd -f -c "$work/etc/cupsd.conf" -s "$work/etc/cups-files.conf" &
daemon=$!
export CUPS_SERVER=$work/cups.sock LPDEST=$QUEUE
for _ in $(seq 1 100); do
  lpstat -r 2>/dev/null | grep -q "is running" && break
  sleep 0.1
done
lpstat -r | grep -q "is running" || { echo "cups: the daemon did not start" >&2; cat "$work/log/error_log" >&2 2>/dev/null; exit 1; }
ppd=$(lpinfo -m 2>/dev/null | awk '/CUPS-PDF_noopt/ {print $1; exit}')
[ -n "$ppd" ] || { echo "cups: the PDF printer's driver is not known" >&2; exit 1; }
lpadmin -p "$QUEUE" -v "cups-pdf:/$QUEUE" -m "$ppd" -E 2>/dev/null
lpadmin -d "$QUEUE"

# Until the queue holds no job that is still to be printed.
settle() {
  for _ in $(seq 1 600); do
    [ -z "$(lpstat -o "$QUEUE" 2>/dev/null)" ] && return 0
    sleep 0.2
  done
  echo "cups: jobs still waiting after two minutes" >&2
  lpstat -o "$QUEUE" >&2
  return 1
}
jobs_received() { lpstat -W all -o "$QUEUE" 2>/dev/null | wc -l; }
drive() {
  QT_QPA_PLATFORM=offscreen ZORVIK_SOURCE_DIR=$PWD ZORVIK_BIN_DIR=$(realpath "$BUILD_DIR/bin") \
    ZORVIK_EXPECTED_PAGES=$work/expected "$BUILD_DIR/tests/bin/screens_drive_real_printer" \
    --gtest_brief=1 --gtest_filter="RealPrinter.$1"
}

status=0
drive TwoVariantsWithSheetsAndTheSummary
settle
expected=$(tr '\n' ' ' <"$work/expected")
got=""
for f in $(ls "$work/out" | sort -t_ -k2 -n); do
  got+="$(pdfinfo "$work/out/$f" | awk '/^Pages:/ {print $2}') "
done
echo "cups: pages of the jobs as laid out: $expected; as they arrived: $got"
if [ "$got" != "$expected" ] || [ "$(jobs_received)" -ne 5 ]; then
  echo "cups: the printed jobs are not the ones the print action made" >&2
  status=1
fi

before=$(jobs_received)
drive ADamagedPictureEndsTheActionAndSendsNothing
settle
if [ "$(jobs_received)" -ne "$before" ] || [ "$(ls "$work/out" | wc -l)" -ne 5 ]; then
  echo "cups: an action that ended in an error still sent a job" >&2
  lpstat -W all -o "$QUEUE" >&2
  status=1
fi
[ $status -eq 0 ] && echo "cups: the jobs arrived as printed, and a failed action sent none"
exit $status
