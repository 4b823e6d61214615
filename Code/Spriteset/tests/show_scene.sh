#!/usr/bin/env bash
# show_scene.sh EXE OUTDIR ROOT: runs spriteset_show under Wine and takes a
# screenshot (OUTDIR/spriteset-<name>.png) each time it asks for one.
set -u
exe="$1" out="$2" root="$3"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
# shellcheck source=/dev/null
. "$root/scripts/wine-env.sh"
rw_wine_env "$(rw_pe_arch "$exe")" || exit 2
if wineserver -p30 >/dev/null 2>&1; then rw_wine_boot; fi
hs="$out/show-handshake"
rm -rf "$hs" "$out"/spriteset-*.png
mkdir -p "$hs"
"$RW_WINE" "$exe" "Z:$hs" &
pid=$!
while kill -0 "$pid" 2>/dev/null; do
  for f in "$hs"/ready-*; do
    [ -e "$f" ] || continue
    name="${f##*/ready-}"
    import -window root -crop 360x360+0+0 +repage "$out/spriteset-$name.png" || echo "no screenshot for $name"
    rm -f "$f"
    touch "$hs/shot-$name"
  done
  sleep 0.1
done
wait "$pid"
