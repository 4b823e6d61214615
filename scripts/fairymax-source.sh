#!/usr/bin/env bash
# Fetches the source of Debian's fairymax (a chess engine that speaks the
# xboard protocol) once, outside the tree like the Wine prefixes: the build
# cross-compiles its one C file into a test-only fmax.exe, the outside
# engine that the import of xboard engines is tested with.
#   RW_FAIRYMAX_DIR (default ~/.cache/rookwell/src) receives "fairymax".
set -euo pipefail
dest="${RW_FAIRYMAX_DIR:-$HOME/.cache/rookwell/src}"
[ -f "$dest/fairymax/fairymax.c" ] && exit 0
if [ "$(id -u)" != 0 ]; then SUDO=sudo; else SUDO=; fi

# Source packages need a deb-src entry next to the binary ones.
if ! grep -rqs "deb-src" /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null; then
  $SUDO tee /etc/apt/sources.list.d/rookwell-src.sources >/dev/null <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  $SUDO apt-get update -qq
fi
mkdir -p "$dest"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get source -qq --download-only fairymax >/dev/null && dpkg-source -x --no-check ./*.dsc fairymax >/dev/null)
rm -rf "$dest/fairymax"
mv "$work/fairymax" "$dest/fairymax"
echo "fairymax source in $dest/fairymax"
