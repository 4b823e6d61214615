#!/usr/bin/env bash
# The ladder of the program's own personalities: each plays the next one
# below it in the roster's rating order, and the anchors fairymax and
# phalanx play the strongest and the middle of the ladder. Prints one line
# of score per pairing; the PGN files go to <build>/ladder.
#   bench/match/ladder.sh [games per pairing] [base+inc]
# Anchors are installed here on demand; the test command never runs this.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
games="${1:-20}"
tc="${2:-10+0.1}"
build="${RW_MATCH_BUILD:-$root/build/release}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target corvane corvane_match personalities >/dev/null
for package in fairymax phalanx; do
  command -v "$package" >/dev/null 2>&1 || [ -x "/usr/games/$package" ] || apt-get install -y "$package" >/dev/null
done
export PATH="$PATH:/usr/games"

out="$build/ladder"
mkdir -p "$out"
engine="$build/bin/corvane -l- -a- -m-"
folder="$build/Personalities"
# Names from strongest to weakest, by the roster's ratings.
mapfile -t ladder < <(awk -F' = ' '/^\[/{name=substr($0,2,length($0)-2)} /^rating = /{print $2 "\t" name}' \
  "$root/tools/mkpersonality/roster.txt" | sort -rn | cut -f2)

play() {  # play LABEL ARGS...: one pairing, its score line
  local label="$1"; shift
  "$build/bin/corvane_match" "$@" -n "$games" -tc "$tc" -pgn "$out/$label.pgn" | grep '^Score of'
}
for ((i = 0; i + 1 < ${#ladder[@]}; i++)); do
  a="${ladder[$i]}" b="${ladder[$((i + 1))]}"
  play "$i" -1 "$engine" -2 "$engine" -p1 "$folder/$a.RWP" -p2 "$folder/$b.RWP"
done
middle="${ladder[$((${#ladder[@]} / 2))]}"
play anchor-phalanx -1 "$engine" -2 "phalanx -l-" -p1 "$folder/${ladder[0]}.RWP"
play anchor-fairymax -1 "$engine" -2 "fairymax" -p1 "$folder/$middle.RWP"
