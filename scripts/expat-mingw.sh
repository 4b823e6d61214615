#!/usr/bin/env bash
# Cross-builds Debian's expat as a static library for each MinGW-w64
# architecture the Windows trees use (i686 and x86_64), once per version,
# into the cache beside the Wine prefixes. Debian ships no MinGW expat, so the
# source package comes through apt-get source from a source list of its own;
# the system's apt settings are left untouched.
#
#   bash scripts/expat-mingw.sh        prints nothing when the cache is current
#
# Result: ~/.cache/rookwell/expat-mingw/<version>/<triple>/{include,lib}, and
# ~/.cache/rookwell/expat-mingw/current naming the version built last. CMake's
# Windows trees read that link (RW_EXPAT_MINGW_ROOT overrides it).
set -euo pipefail

cache="${RW_EXPAT_MINGW_CACHE:-$HOME/.cache/rookwell/expat-mingw}"
work="$cache/apt"
mkdir -p "$work/lists/partial" "$work/archives/partial" "$work/src"

cat >"$work/expat.sources" <<'LIST'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
LIST

apt_opts=(
  -o Dir::Etc::SourceList="$work/expat.sources"
  -o Dir::Etc::SourceParts=/dev/null
  -o Dir::State::Lists="$work/lists"
  -o Dir::Cache="$work"
  -o APT::Sandbox::User=root
)

# The source index is refreshed at most once a day; without a network the
# cache built before is used as it is.
stamp="$work/lists/.updated"
if [ ! -f "$stamp" ] || [ -n "$(find "$stamp" -mmin +1440)" ]; then
  if apt-get "${apt_opts[@]}" -qq update >/dev/null 2>&1; then
    touch "$stamp"
  elif [ -e "$cache/current" ]; then
    exit 0
  else
    echo "expat-mingw: cannot read Debian's source index" >&2
    exit 1
  fi
fi

# Newest version first; a version whose files a mirror no longer holds is
# skipped for the next one.
mapfile -t versions < <(apt-cache "${apt_opts[@]}" showsrc expat 2>/dev/null |
  sed -n 's/^Version: //p' | sort -r -V -u)
[ "${#versions[@]}" -gt 0 ] || { echo "expat-mingw: no expat source package listed" >&2; exit 1; }

for version in "${versions[@]}"; do
  dest="$cache/$version"
  if [ -f "$dest/.complete" ]; then
    ln -sfn "$version" "$cache/current"
    exit 0
  fi
  src="$work/src/$version"
  rm -rf "$src"
  mkdir -p "$src"
  if ! (cd "$src" && apt-get "${apt_opts[@]}" -qq source "expat=$version" >/dev/null 2>&1); then
    rm -rf "$src"
    continue
  fi
  tree="$(find "$src" -mindepth 3 -maxdepth 3 -name CMakeLists.txt -path '*/expat/*' | head -n1)"
  [ -n "$tree" ] || { echo "expat-mingw: $version has no CMake tree" >&2; exit 1; }
  tree="$(dirname "$tree")"
  echo "expat-mingw: building expat $version for MinGW"
  for triple in i686-w64-mingw32 x86_64-w64-mingw32; do
    build="$src/build-$triple"
    cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_SYSTEM_NAME=Windows \
      -DCMAKE_C_COMPILER="$triple-gcc-posix" -DCMAKE_CXX_COMPILER="$triple-g++-posix" \
      -DCMAKE_RC_COMPILER="$triple-windres" \
      -DCMAKE_INSTALL_PREFIX="$dest/$triple" \
      -DEXPAT_SHARED_LIBS=OFF -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF \
      -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_FUZZERS=OFF \
      -DEXPAT_BUILD_PKGCONFIG=OFF >"$src/cmake-$triple.log" 2>&1 ||
      { cat "$src/cmake-$triple.log" >&2; exit 1; }
    # Debian's security patches test "XML_DTD == 1", as its autotools build
    # defines it; expat's CMake build defines it empty.
    sed -i 's/^#define XML_DTD$/#define XML_DTD 1/; s/^#define XML_NS$/#define XML_NS 1/' \
      "$build/expat_config.h"
    ninja -C "$build" install >"$src/build-$triple.log" 2>&1 ||
      { cat "$src/build-$triple.log" >&2; exit 1; }
  done
  cp "$tree/COPYING" "$dest/COPYING"
  touch "$dest/.complete"
  ln -sfn "$version" "$cache/current"
  rm -rf "$src"
  exit 0
done
echo "expat-mingw: no expat source package could be fetched" >&2
exit 1
