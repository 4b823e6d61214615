#!/usr/bin/env bash
# PGN reading benchmark: makes a PGN file of at least 50 MB from the outside
# test games (in build/, never in the repository), reads it with Rookwell's
# reader and with pgn-extract, and prints games per second of both; then
# reads 10,000 generated games in short and in 5,000-character lines with
# both of Rookwell's readers.
#   bench/pgn/run.sh [MEGABYTES]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
mb="${1:-50}"
# An optimised tree without sanitizers, so the figures are the program's own.
build="$root/build/bench-release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target bench_pgn >/dev/null
work="$root/build/bench-pgn"
mkdir -p "$work"
big="$work/big.pgn"
data="$root/../shared/testdata"
"$build/bin/bench_pgn" make "$big" "$mb" "$data/eco.pgn" "$data/mate_in_2.pgn" "$data/mate_in_3.pgn"
(cd "$work" && "$build/bin/bench_pgn" index "$big")
"$build/bin/bench_pgn" read "$big" | tee "$work/rookwell.txt"
games="$(sed -n 's/^rookwell read: \([0-9]*\) games.*/\1/p' "$work/rookwell.txt")"

# The same 10,000 generated games in lines of 80 and of 5,000 characters:
# both readers must read them at the same speed per game, and alike.
for width in 80 5000; do
  "$build/bin/bench_pgn" generate "$work/lines$width.pgn" 10000 "$width"
  "$build/bin/bench_pgn" read "$work/lines$width.pgn"
  "$build/bin/bench_pgn" dbread "$work/lines$width.pgn"
done

export PATH="$PATH:/usr/games"
if ! command -v pgn-extract >/dev/null; then
  echo "installing pgn-extract for the comparison"
  (apt-get install -y pgn-extract >/dev/null 2>&1 || { apt-get update >/dev/null && apt-get install -y pgn-extract >/dev/null; })
fi
start=$(date +%s.%N)
pgn-extract -s -o /dev/null "$big" 2>"$work/pgn-extract.log" || true
end=$(date +%s.%N)
awk -v g="$games" -v s="$start" -v e="$end" \
  'BEGIN { t = e - s; printf "pgn-extract read: %d games in %.2f s: %.0f games/s\n", g, t, g / t }'
