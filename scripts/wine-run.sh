#!/usr/bin/env bash
# CTest's emulator for the Windows builds: runs one Windows program under the
# Wine that fits its machine type (32- or 64-bit) and passes its exit code
# back. Works on its own too (xvfb-run when no display).
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
rw_wine_env "$(rw_pe_arch "$1")" || exit 2
# Run on its own (not under rw_wine_start): keep a wineserver for a while and
# start the services with null handles first (see rw_wine_boot).
if wineserver -p30 >/dev/null 2>&1; then
  rw_wine_boot
fi
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$RW_WINE" "$@"
fi
exec "$RW_WINE" "$@"
