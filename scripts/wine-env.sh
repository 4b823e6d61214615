# Sourced by the build and test scripts: Wine and display handling.
#
#   rw_wine_env     exports WINEPREFIX/WINEARCH/WINEDEBUG and makes sure the
#                   project's 32-bit prefix exists (created once, outside the tree)
#   rw_wine_start   rw_wine_env, a private Xvfb when no DISPLAY is set, and a
#                   persistent wineserver; everything started is stopped again
#                   by rw_wine_stop, which an EXIT/INT/TERM trap calls.

rw_wine_env() {
  export WINEARCH=win32
  export WINEPREFIX="${RW_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/rookwell/wine32}"
  export WINEDEBUG="${WINEDEBUG:--all}"
  # No Mono or Gecko installer dialogs; the programs need neither.
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    local lock="$WINEPREFIX.lock"
    (
      flock 9
      if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine: creating the 32-bit prefix $WINEPREFIX" >&2
        DISPLAY= wineboot -i >/dev/null 2>&1 || true
        wineserver -w
      fi
    ) 9>"$lock"
  fi
}

# Starts the prefix's service processes with null standard handles. Otherwise
# the first program started inherits them to those services, which outlive it,
# and whoever reads its output (CTest) waits for an end of file that never comes.
rw_wine_boot() {
  wineboot </dev/null >/dev/null 2>&1 || true
}

_rw_xvfb_pid=""
_rw_started_wineserver=0

rw_wine_start() {
  rw_wine_env
  if [ -z "${DISPLAY:-}" ]; then
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    _rw_xvfb_pid=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
  fi
  # A second `wineserver -p` for the same prefix fails: then one is already
  # running for somebody else, and it is not ours to stop.
  if wineserver -p >/dev/null 2>&1; then
    _rw_started_wineserver=1
  fi
  rw_wine_boot
  trap rw_wine_stop EXIT
  trap 'rw_wine_stop; exit 130' INT TERM
}

rw_wine_stop() {
  if [ "$_rw_started_wineserver" = 1 ]; then
    wineserver -k >/dev/null 2>&1 || true
    _rw_started_wineserver=0
  fi
  if [ -n "$_rw_xvfb_pid" ]; then
    kill "$_rw_xvfb_pid" >/dev/null 2>&1 || true
    wait "$_rw_xvfb_pid" 2>/dev/null || true
    # Starts the prefix's service processes with null standard handles. Otherwise
# the first program started inherits them to those services, which outlive it,
# and whoever reads its output (CTest) waits for an end of file that never comes.
rw_wine_boot() {
  wineboot </dev/null >/dev/null 2>&1 || true
}

_rw_xvfb_pid=""
  fi
}
