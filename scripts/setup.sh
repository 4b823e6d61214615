#!/usr/bin/env bash
# Installs what building and testing Rookwell needs from Debian's packages.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
  wine wine32 xvfb xauth x11-utils imagemagick
  googletest libgtest-dev
  fonts-dejavu-core
  gnuchess-book
)

need_i386=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  need_i386=1
fi

missing=()
for p in "${packages[@]}"; do
  arch_pkg="$p"
  [ "$p" = wine32 ] && arch_pkg="wine32:i386"
  if ! dpkg-query -W -f='${Status}' "$arch_pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$arch_pkg")
  fi
done

if [ "$need_i386" = 0 ] && [ "${#missing[@]}" = 0 ]; then
  exit 0
fi

if [ "$(id -u)" != 0 ]; then
  SUDO=sudo
else
  SUDO=
fi

echo "setup: installing ${missing[*]}"
if [ "$need_i386" = 1 ]; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
