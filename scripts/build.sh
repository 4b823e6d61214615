#!/usr/bin/env bash
# Builds the native tree (tests, tools, OS-free modules) and both Windows
# trees: build/win32, the shipped 32-bit program, installed as dist/Rookwell,
# and build/win64, the same sources for 64-bit Windows, installed as
# dist/Rookwell-x64 (tests and the run command where 32-bit code cannot run).
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

# Compiler cache, where installed: rebuilds and fresh clones on the same
# machine reuse what was compiled before (paths hashed relative to the tree).
launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

native="$root/build/native"
cmake -S . -B "$native" -G Ninja -DRW_SANITIZE=$sanitize "${launcher[@]}" >/dev/null
cmake --build "$native"

[ "$native_only" = 1 ] && exit 0

configure_windows() {  # tree toolchain
  cmake -S . -B "$root/build/$1" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$2" \
    -DRW_HOST_TOOLS="$native" "${launcher[@]}" >/dev/null
}
configure_windows win32 toolchain-mingw32.cmake
configure_windows win64 toolchain-mingw64.cmake

# Both Windows trees in one ninja run, so that they share the machine's
# cores instead of taking turns: a small ninja file whose two steps build one
# tree each. Each may start as many jobs as there are cores while the load
# stays below that number, so together they keep every core busy.
jobs="$(nproc)"
mkdir -p "$root/build"
cat >"$root/build/windows.ninja" <<NINJA
builddir = $root/build
rule tree
  command = ninja -C \$dir -j $jobs -l $jobs
  description = Windows tree \$dir
build win32: tree
  dir = $root/build/win32
build win64: tree
  dir = $root/build/win64
NINJA
ninja -f "$root/build/windows.ninja" -j 2 win32 win64

install_tree() {  # tree folder
  rm -rf "$root/dist/$2"
  cmake --install "$root/build/$1" --prefix "$root/dist/$2" >/dev/null
}
install_tree win32 Rookwell
install_tree win64 Rookwell-x64
