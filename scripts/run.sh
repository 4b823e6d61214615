#!/usr/bin/env bash
# Sets up, builds everything and starts Rookwell under Wine.
#   scripts/run.sh [--screenshot FILE [--after SECONDS]]
# With no DISPLAY the program runs on a private Xvfb; --screenshot saves what
# the screen shows once the main window is up (the intro movie, when on,
# plays first) and SECONDS more have passed (default 3), then ends the
# program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

shot=""
after=3
while [ $# -gt 0 ]; do
  case "$1" in
    --screenshot) shot="$(realpath -m "$2")"; shift 2 ;;
    --after) after="$2"; shift 2 ;;
    *) echo "run.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

bash scripts/setup.sh
bash scripts/build.sh --no-sanitize

. scripts/wine-env.sh
# The shipped program is the 32-bit one; where this machine's kernel runs no
# 32-bit code, the 64-bit build of the same sources stands in.
if rw_can_run_32bit; then
  arch=win32 dist="$root/dist/Rookwell"
  echo "run: the 32-bit program ($dist)"
else
  arch=win64 dist="$root/dist/Rookwell-x64"
  echo "run: this machine runs no 32-bit code; the 64-bit build ($dist)"
fi

if [ ! -f "$dist/Rookwell.exe" ]; then
  echo "Rookwell.exe is not built yet. The program folder $dist holds:"
  for f in "$dist"/*.exe "$dist"/*.dll; do
    [ -e "$f" ] || continue
    echo "  $(basename "$f")"
  done
  echo "Run a program with: scripts/wine-run.sh ${dist#"$root"/}/<name>.exe"
  [ -f "$dist/Corvane.exe" ] && echo "Corvane.exe is a console engine: type 'xboard', 'new', 'go', 'quit'."
  exit 0
fi

rw_wine_start "$arch"

# The lobby service's server for online play: prosody on loopback, its data
# beside the Wine prefix, stopped with the program. Port 5222 (the login
# helper's default) when free.
lobby="$WINEPREFIX-rwlive"
lobby_script="$root/Code/platform/lobbysvc/server/prosody.sh"
if command -v prosody >/dev/null; then
  if ! lobby_port="$(bash "$lobby_script" start "$lobby" 5222 2>/dev/null)"; then
    lobby_port="$(bash "$lobby_script" start "$lobby")" || lobby_port=""
  fi
  if [ -n "$lobby_port" ]; then
    echo "run: lobby server on 127.0.0.1:$lobby_port (make an account with RWLiveLogin.exe)"
    trap 'bash "$lobby_script" stop "$lobby"; rw_wine_stop' EXIT
    trap 'bash "$lobby_script" stop "$lobby"; rw_wine_stop; exit 130' INT TERM
  fi
fi
cd "$dist"
if [ -n "$shot" ]; then
  "$RW_WINE" Rookwell.exe &
  pid=$!
  # The main window is mapped once start-up is over; wait for it (at most
  # two minutes: a first start of the prefix is slow).
  for _ in $(seq 240); do
    if xwininfo -name "Rookwell Onyx" 2>/dev/null | grep -q "IsViewable"; then break; fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
  done
  sleep "$after"
  import -window root "$shot"
  echo "screenshot saved to $shot"
  kill "$pid" 2>/dev/null || true
  wineserver -k || true
else
  "$RW_WINE" Rookwell.exe "$@"
fi
