#!/usr/bin/env bash
# Makes the default database: the games of selfplay (every ECO line played
# onward by the engine) filed under the ECO file's opening keys, with sort
# indexes, by mkdatabase.
#   make_default_database.sh SOURCE_ROOT ECO.pgn MKDATABASE OUT.gdg CACHE_DIR
# The engine and selfplay are built here without sanitizers (the games take
# minutes otherwise); the played games are kept in CACHE_DIR under the hash
# of everything that decides them, so a rebuild with the same inputs only
# files them again.
set -euo pipefail
root="$1" eco="$2" mkdatabase="$3" out="$4" cache="$5"
parts=2
engine=(fatal board movegen trans perft attack pawn eval endgame search signature game)
sources=("$root/tools/selfplay/selfplay.cpp")
for f in "${engine[@]}"; do sources+=("$root/engine/$f.cpp"); done
hash=$(cat "${sources[@]}" "$root"/engine/*.h "$eco" "$0" | sha256sum | cut -c1-16)
mkdir -p "$cache"
games="$cache/games-$hash.pgn"
if [ ! -s "$games" ]; then
  compiler=(g++)
  command -v ccache >/dev/null && compiler=(ccache g++)
  tool="$cache/selfplay-$hash"
  "${compiler[@]}" -O2 -std=c++17 -I"$root/engine" "${sources[@]}" -o "$tool"
  pids=()
  for ((p = 0; p < parts; ++p)); do
    "$tool" "$eco" "$cache/part-$hash-$p.pgn" "$p" "$parts" >"$cache/part-$hash-$p.log" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid"; done
  for ((p = 0; p < parts; ++p)); do cat "$cache/part-$hash-$p.pgn"; done >"$games.tmp"
  mv "$games.tmp" "$games"
  rm -f "$cache"/part-"$hash"-* "$tool"
fi
rm -rf "$out" "$(dirname "$out")/GdIndex"
mkdir -p "$(dirname "$out")"
"$mkdatabase" "$out" --keys "$eco" --index "$games"
