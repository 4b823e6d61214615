#!/usr/bin/env bash
# Makes "NewBase.dat": an empty database keyed with the ECO file's opening
# lines (as the default database is), with its header index, packed as the
# members new.gdg, new.gdx, new.gdk and new.ghi.
#   make_newbase.sh MKDATABASE MKNEWBASE ECO.pgn OUT.dat
set -euo pipefail
mkdatabase="$1" mknewbase="$2" eco="$3" out="$4"
work="$(dirname "$out")/newbase-work"
rm -rf "$work"
mkdir -p "$work"
"$mkdatabase" "$work/new.gdg" --keys "$eco" --index >/dev/null
"$mknewbase" "$out" "$work/new.gdg" "$work/new.gdx" "$work/GdIndex/new.gdk" "$work/GdIndex/new.ghi"
rm -rf "$work"
