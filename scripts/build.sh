#!/usr/bin/env bash
# Builds the native tree (tests, tools, OS-free modules) and the Windows tree
# (every deliverable), then installs the program folder dist/Rookwell.
#   scripts/build.sh [--native-only] [--no-sanitize]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

sanitize=ON
native_only=0
for a in "$@"; do
  case "$a" in
    --native-only) native_only=1 ;;
    --no-sanitize) sanitize=OFF ;;
    *) echo "build.sh: unknown option $a" >&2; exit 2 ;;
  esac
done

native="$root/build/native"
win="$root/build/win32"

cmake -S . -B "$native" -G Ninja -DRW_SANITIZE=$sanitize >/dev/null
cmake --build "$native"

[ "$native_only" = 1 ] && exit 0

cmake -S . -B "$win" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake" \
  -DRW_HOST_TOOLS="$native" >/dev/null
cmake --build "$win"
rm -rf "$root/dist/Rookwell"
cmake --install "$win" --prefix "$root/dist/Rookwell" >/dev/null
