#!/usr/bin/env bash
# Sets up, builds everything and starts Rookwell under Wine.
#   scripts/run.sh [--screenshot FILE [--after SECONDS]]
# With no DISPLAY the program runs on a private Xvfb; --screenshot saves what
# the screen shows after SECONDS (default 10) and then ends the program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

shot=""
after=10
while [ $# -gt 0 ]; do
  case "$1" in
    --screenshot) shot="$(realpath -m "$2")"; shift 2 ;;
    --after) after="$2"; shift 2 ;;
    *) echo "run.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

bash scripts/setup.sh
bash scripts/build.sh --no-sanitize

dist="$root/dist/Rookwell"
if [ ! -f "$dist/Rookwell.exe" ]; then
  echo "Rookwell.exe is not built yet. The program folder $dist holds:"
  for f in "$dist"/*.exe "$dist"/*.dll; do
    [ -e "$f" ] || continue
    echo "  $(basename "$f")"
  done
  echo "Run a program with: scripts/wine-run.sh dist/Rookwell/<name>.exe"
  [ -f "$dist/Corvane.exe" ] && echo "Corvane.exe is a console engine: type 'xboard', 'new', 'go', 'quit'."
  exit 0
fi

. scripts/wine-env.sh
rw_wine_start
cd "$dist"
if [ -n "$shot" ]; then
  wine Rookwell.exe &
  pid=$!
  sleep "$after"
  import -window root "$shot"
  echo "screenshot saved to $shot"
  kill "$pid" 2>/dev/null || true
  wineserver -k || true
else
  wine Rookwell.exe "$@"
fi
