#!/usr/bin/env bash
# CTest's emulator for the Windows build: runs one Windows program under Wine
# and passes its exit code back. Works on its own too (xvfb-run when no display).
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
rw_wine_env
# Run on its own (not under rw_wine_start): keep a wineserver for a while and
# start the services with null handles first (see rw_wine_boot).
if wineserver -p30 >/dev/null 2>&1; then
  rw_wine_boot
fi
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
fi
exec wine "$@"
