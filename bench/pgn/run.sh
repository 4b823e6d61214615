#!/usr/bin/env bash
# PGN reading benchmark: makes a PGN file of at least 50 MB from the outside
# test games (in build/, never in the repository), reads it with Rookwell's
# reader and with pgn-extract, and prints games per second of both; then
# reads 10,000 generated games in short and in 5,000-character lines with
# both of Rookwell's readers, indexes them and imports them into a game file.
# Without the outside test data (../shared/testdata) the first part is
# skipped, naming what is missing.
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
bench="$build/bin/bench_pgn"

# The same 10,000 generated games in lines of 80 and of 5,000 characters:
# both readers, the index and the import must take them at the same speed
# per game, and find the same games.
for width in 80 5000; do
  "$bench" generate "$work/lines$width.pgn" 10000 "$width"
  "$bench" read "$work/lines$width.pgn"
  "$bench" dbread "$work/lines$width.pgn"
  (cd "$work" && "$bench" index "$work/lines$width.pgn" && "$bench" import "$work/lines$width.pgn")
done

data="$root/../shared/testdata"
eco=/usr/share/pgn-extract/eco.pgn
for f in "$eco" "$data/mate_in_2.pgn" "$data/mate_in_3.pgn"; do
  if [ ! -f "$f" ]; then
    echo "outside test data missing, the large-file comparison skipped: $f"
    exit 0
  fi
done
big="$work/big.pgn"
"$bench" make "$big" "$mb" "$eco" "$data/mate_in_2.pgn" "$data/mate_in_3.pgn"
(cd "$work" && "$bench" index "$big")
"$bench" read "$big" | tee "$work/rookwell.txt"
games="$(sed -n 's/^rookwell read: \([0-9]*\) games.*/\1/p' "$work/rookwell.txt")"

export PATH="$PATH:/usr/games"
if ! command -v pgn-extract >/dev/null; then
  echo "pgn-extract is missing (run scripts/setup.sh): its comparison skipped"
  exit 0
fi
start=$(date +%s.%N)
pgn-extract -s -o /dev/null "$big" 2>"$work/pgn-extract.log" || true
end=$(date +%s.%N)
awk -v g="$games" -v s="$start" -v e="$end" \
  'BEGIN { t = e - s; printf "pgn-extract read: %d games in %.2f s: %.0f games/s\n", g, t, g / t }'
