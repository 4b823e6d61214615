#!/usr/bin/env bash
# Corvane against one of Debian's CECP engines.
#   bench/match/run.sh [opponent] [games] [base+inc] [games-at-once]
# Opponents: fairymax (default), phalanx, sjeng, gnuchess.  The opponent is
# installed here on demand; the test command never installs anything.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
opponent="${1:-fairymax}"
games="${2:-20}"
tc="${3:-10+0.1}"
concurrency="${4:-1}"  # the runner allows at most half the cores
build="${RW_MATCH_BUILD:-$root/build/release}"

sync=()
case "$opponent" in
  fairymax) package=fairymax; command="fairymax" ;;
  phalanx) package=phalanx; command="phalanx -l-" ;;
  sjeng) package=sjeng; command="sjeng" ;;
  gnuchess) package=gnuchess; command="gnuchess --xboard"; sync=(-sync2 1) ;;
  *) echo "unknown opponent $opponent" >&2; exit 2 ;;
esac
if ! command -v "${command%% *}" >/dev/null 2>&1 && [ ! -x "/usr/games/${command%% *}" ]; then
  apt-get install -y "$package" >/dev/null
fi
export PATH="$PATH:/usr/games"

# An optimised native build (the test tree carries sanitizers).
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target corvane corvane_match >/dev/null

out="$build/match"
mkdir -p "$out"
"$build/bin/corvane_match" -1 "$build/bin/corvane -l- -a- -m-" -2 "$command" -n "$games" -tc "$tc" -c "$concurrency" \
  -pgn "$out/corvane-$opponent.pgn" "${sync[@]}"
