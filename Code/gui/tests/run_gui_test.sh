#!/usr/bin/env bash
# Runs one Windows GUI test program under Wine with nothing shared with other
# runs: a fresh copy of the project's Wine prefix (system files hard-linked,
# registry and state files copied, so the template never changes), its own
# wineserver and its own Xvfb display, all removed again afterwards. GUI
# tests can therefore run in parallel without seeing each other's windows,
# input or settings.
#   run_gui_test.sh PROGRAM.exe [ARGS...]
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../../.." && pwd)"
# shellcheck source=../../../scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
rw_wine_env "$(rw_pe_arch "$1")" || exit 2  # makes sure the template prefix exists
template="$WINEPREFIX"

run_dir="$(mktemp -d "${TMPDIR:-/tmp}/rw-gui-XXXXXX")"
prefix="$run_dir/prefix"
cp -al "$template" "$prefix"
rm -f "$prefix"/*.reg "$prefix/.update-timestamp" "$prefix/wineserver" 2>/dev/null
cp -p "$template"/*.reg "$prefix"/
[ -f "$template/.update-timestamp" ] && cp -p "$template/.update-timestamp" "$prefix"/
export WINEPREFIX="$prefix"
# There is no window manager on the private display. Wine would still treat
# captioned and active windows as managed and wait up to two seconds for a
# manager to withdraw each of them when it is hidden or destroyed; unmanaged
# windows behave as they do on Windows and go at once.
printf '\n[Software\\\\Wine\\\\X11 Driver] 0\n"Managed"="N"\n' >>"$prefix/user.reg"

xvfb_pid=""
cleanup() {
  WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$run_dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A display of its own. Xvfb picks a free number itself (it takes the lock
# file atomically) and writes it to the pipe, so parallel runs never share.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$run_dir/display" >/dev/null 2>&1 &
xvfb_pid=$!
n=""
for _ in $(seq 1 100); do
  n="$(tr -d '[:space:]' <"$run_dir/display" 2>/dev/null)"
  [ -n "$n" ] && [ -e "/tmp/.X11-unix/X$n" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.05
done
if [ -z "$n" ] || [ ! -e "/tmp/.X11-unix/X$n" ]; then
  echo "run_gui_test: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$n"

# The prefix's service processes start with null standard handles: were
# they started by the test program, they would inherit its output and CTest
# would wait for an end of file until they go.
"$RW_WINE" wineboot </dev/null >/dev/null 2>&1
"$RW_WINE" "$@"
status=$?
exit $status
