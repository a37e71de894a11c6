#!/usr/bin/env bash
# Sets up a PDF printer as the default printer, for printing from Zorvik
# without a paper printer: installs CUPS and its PDF printer, starts the CUPS
# daemon when none runs, adds the queue "PDF" when it is missing, makes it the
# default, and says where the PDF files land. It prints nothing itself.
#
#   bash tools/cups-pdf.sh
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

need=()
for p in cups cups-client printer-driver-cups-pdf; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then need+=("$p"); fi
done
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  echo "Installing: ${need[*]}"
  if ! $SUDO apt-get install -y --no-install-recommends "${need[@]}"; then
    $SUDO apt-get update
    $SUDO apt-get install -y --no-install-recommends "${need[@]}"
  fi
fi

# The daemon: the service manager's when there is one, else started here.
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
  if command -v systemctl >/dev/null && systemctl is-system-running >/dev/null 2>&1; then
    $SUDO systemctl start cups
  else
    $SUDO /usr/sbin/cupsd
  fi
  for _ in $(seq 1 50); do
    lpstat -r 2>/dev/null | grep -q "is running" && break
    sleep 0.2
  done
  lpstat -r | grep -q "is running" || { echo "The CUPS daemon did not start." >&2; exit 1; }
fi

# The PDF queue; the package adds it itself when CUPS ran at its installation.
if ! lpstat -v PDF >/dev/null 2>&1; then
  ppd=$(lpinfo -m 2>/dev/null | awk '/CUPS-PDF/ {print $1; exit}')
  if [ -z "$ppd" ]; then echo "The CUPS-PDF driver is not known to CUPS." >&2; exit 1; fi
  $SUDO lpadmin -p PDF -v cups-pdf:/ -m "$ppd" -E
fi
# The jobs of one print action share their title, which names the file; a job
# number in front of every file name keeps each job in a file of its own.
if ! grep -q '^Label 1' /etc/cups/cups-pdf.conf; then
  $SUDO sed -i 's/^#\?Label .*/Label 1/' /etc/cups/cups-pdf.conf
  grep -q '^Label 1' /etc/cups/cups-pdf.conf || echo 'Label 1' | $SUDO tee -a /etc/cups/cups-pdf.conf >/dev/null
fi
$SUDO lpadmin -d PDF
$SUDO cupsenable PDF
$SUDO cupsaccept PDF

# Where the files land: the "Out" line of the PDF printer's configuration,
# ${HOME} being the home folder of the user who prints.
out=$(awk '/^[[:space:]]*Out[[:space:]]/ {print $2}' /etc/cups/cups-pdf.conf 2>/dev/null | tail -1)
out=${out:-'${HOME}/PDF'}
echo "The default printer is now \"PDF\" ($(lpstat -d | sed 's/.*: //'))."
echo "Each print job becomes one PDF file, named job_<number>-<title>.pdf, in: ${out//\$\{HOME\}/$HOME}"
echo "(for another user: ${out}, with \${HOME} that user's home folder)"
