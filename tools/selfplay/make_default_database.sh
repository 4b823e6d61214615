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
# One share of the lines per processor; the games do not depend on it (each
# line's game is decided by its index alone).
parts=$(nproc 2>/dev/null || echo 2)
engine=(fatal board movegen trans perft attack pawn eval endgame search signature game)
sources=("$root/tools/selfplay/selfplay.cpp")
for f in "${engine[@]}"; do sources+=("$root/engine/$f.cpp"); done
hash=$(cat "${sources[@]}" "$root"/engine/*.h "$eco" "$0" | sha256sum | cut -c1-16)
# The games are the same for every tree and every clone of these sources:
# a per-user cache spares a second checkout the minutes of play.
if [ -n "${HOME:-}" ] && mkdir -p "$HOME/.cache/rookwell/selfplay" 2>/dev/null; then
  cache="$HOME/.cache/rookwell/selfplay"
fi
mkdir -p "$cache"
games="$cache/games-$hash.pgn"
if [ ! -s "$games" ]; then
  # Builds running side by side each play in a folder of their own; the
  # finished file is renamed into place, so a reader never sees half of it.
  work=$(mktemp -d "$cache/play-XXXXXX")
  trap 'rm -rf "$work"' EXIT
  compiler=(g++)
  command -v ccache >/dev/null && compiler=(ccache g++)
  tool="$work/selfplay"
  "${compiler[@]}" -O2 -std=c++17 -I"$root/engine" "${sources[@]}" -o "$tool"
  pids=()
  for ((p = 0; p < parts; ++p)); do
    "$tool" "$eco" "$work/part-$p.pgn" "$p" "$parts" >"$work/part-$p.log" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid"; done
  for ((p = 0; p < parts; ++p)); do cat "$work/part-$p.pgn"; done >"$work/games.pgn"
  mv "$work/games.pgn" "$games"
fi
rm -rf "$out" "$(dirname "$out")/GdIndex"
mkdir -p "$(dirname "$out")"
"$mkdatabase" "$out" --keys "$eco" --index "$games"
