#!/usr/bin/env bash
# Makes sure the print queue "PDF" exists and is served: cupsd running
# (started directly where no service manager runs it), a cups-pdf queue
# "PDF" as the default printer, and its files written to one known folder,
# $RW_PDF_DIR (default /var/spool/cups-pdf/rookwell). Needs root (or sudo)
# for the first set-up; afterwards it only checks.
#   pdf_queue.sh          set up, print the folder
set -euo pipefail
out="${RW_PDF_DIR:-/var/spool/cups-pdf/rookwell}"
if [ "$(id -u)" != 0 ]; then SUDO=sudo; else SUDO=; fi
conf=/etc/cups/cups-pdf.conf
if [ ! -x /usr/sbin/cupsd ] || [ ! -f "$conf" ]; then
  echo "pdf_queue: cups or printer-driver-cups-pdf is missing (run scripts/setup.sh)" >&2
  exit 1
fi

# Every job's file in the known folder, readable by the tests, named by the
# job's title and number.
want() { grep -qx "$1" "$conf" || { $SUDO sed -i "/^#\{0,1\}$2 /d" "$conf"; echo "$1" | $SUDO tee -a "$conf" >/dev/null; }; }
want "Out $out" Out
want "AnonDirName $out" AnonDirName
want "UserUMask 0000" UserUMask
want "AnonUMask 0000" AnonUMask
want "Label 1" Label
$SUDO mkdir -p "$out"
$SUDO chmod 1777 "$out"

if ! lpstat -r 2>/dev/null | grep -q "is running"; then
  if command -v systemctl >/dev/null 2>&1 && systemctl is-system-running >/dev/null 2>&1; then
    $SUDO systemctl start cups
  else
    $SUDO /usr/sbin/cupsd
  fi
  for _ in $(seq 1 50); do
    lpstat -r 2>/dev/null | grep -q "is running" && break
    sleep 0.1
  done
fi
if ! lpstat -p PDF >/dev/null 2>&1; then
  ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
  $SUDO lpadmin -p PDF -E -v cups-pdf:/ -P "$ppd"
fi
$SUDO cupsenable PDF >/dev/null 2>&1 || true
$SUDO cupsaccept PDF >/dev/null 2>&1 || true
if [ "$(lpstat -d 2>/dev/null | sed 's/.*: *//')" != PDF ]; then
  $SUDO lpadmin -d PDF
fi
echo "$out"
