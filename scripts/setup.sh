#!/usr/bin/env bash
# Installs what building and testing Rookwell needs from Debian's packages.
# Idempotent: when everything is present it only checks and returns.
#
# Both Windows trees are always built. Their tests run under Wine: the 64-bit
# tree under wine64 on every machine, the 32-bit tree under wine32 only where
# the kernel runs 32-bit code at all (some kernels are booted without it, and
# then neither wine32 nor a WoW64 Wine can run a 32-bit program).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

packages=(
  cmake ninja-build g++ binutils clang libclang-rt-14-dev ccache
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  wine wine64 xvfb xauth x11-utils imagemagick
  googletest libgtest-dev
  fonts-dejavu-core python3 python3-pil python3-fontforge
  ffmpeg sox lame povray espeak-ng
  gnuchess-book pgn-extract
  cups printer-driver-cups-pdf poppler-utils libcups2
  libexpat1-dev nettle-dev libgnutls28-dev libgnutls30 openssl
)

if [ "$(id -u)" != 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
updated=0
install() {
  if [ "$updated" = 0 ]; then
    $SUDO apt-get update -qq
    updated=1
  fi
  echo "setup: installing $*"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}
missing_of() {
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      echo "$p"
    fi
  done
}

mapfile -t missing < <(missing_of "${packages[@]}")
[ "${#missing[@]}" = 0 ] || install "${missing[@]}"

# The help compiler chmcmd (and chmls) is the only program of Free Pascal's
# utilities the build needs; their package depends on the compiler's 200 MB
# of sources, so only the package itself is fetched and unpacked into the
# user's cache, where the build looks for it.
fp_utils="${HOME}/.cache/rookwell/fp-utils"
if [ ! -x "$fp_utils/usr/bin/chmcmd-3.2.2" ]; then
  work="$(mktemp -d)"
  if ! (cd "$work" && apt-get download fp-utils-3.2.2 >/dev/null 2>&1); then
    $SUDO apt-get update -qq
    updated=1
    (cd "$work" && apt-get download fp-utils-3.2.2 >/dev/null)
  fi
  mkdir -p "$fp_utils"
  dpkg -x "$work"/fp-utils-3.2.2_*.deb "$fp_utils"
  rm -rf "$work"
  echo "setup: unpacked chmcmd into $fp_utils"
fi

# wine32 only where 32-bit programs can run (binutils, installed above,
# assembles the probe).
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
if rw_kernel_runs_32bit; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    updated=0
  fi
  # libgnutls30: the TLS library behind Wine's SChannel (the lobby service's
  # STARTTLS), of each architecture Wine runs.
  mapfile -t missing < <(missing_of wine32:i386 libcups2:i386 libgnutls30:i386)
  [ "${#missing[@]}" = 0 ] || install "${missing[@]}"
fi

# Printing tests print through Wine to the CUPS queue "PDF" (cups-pdf):
# cupsd running and the queue set up, on every run.
bash "$here/../Code/print/win/pdf_queue.sh" >/dev/null

# The lobby service's XMPP server: prosody, run only by the tests and the run
# command with a configuration of their own. Debian's package would start a
# system service at install; a policy of "no starting" holds while it installs,
# and a service already left running by an older set-up is stopped.
if [ -z "$(missing_of prosody)" ]; then
  :
else
  policy=/usr/sbin/policy-rc.d
  own_policy=0
  if [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' | $SUDO tee "$policy" >/dev/null
    $SUDO chmod 755 "$policy"
    own_policy=1
  fi
  install prosody lua-event || { [ "$own_policy" = 0 ] || $SUDO rm -f "$policy"; exit 1; }
  [ "$own_policy" = 0 ] || $SUDO rm -f "$policy"
  if command -v systemctl >/dev/null && [ -d /run/systemd/system ]; then
    $SUDO systemctl disable --now prosody >/dev/null 2>&1 || true
  fi
fi
if [ -f /run/prosody/prosody.pid ]; then
  $SUDO kill "$(cat /run/prosody/prosody.pid)" 2>/dev/null || true
fi

# expat for the Windows trees, built from Debian's source package (cached).
bash "$here/expat-mingw.sh"

# The outside xboard engine of the tests (fmax.exe): fairymax's source
# package, fetched once outside the tree. Without it those tests are left out.
bash "$here/fairymax-source.sh" || echo "setup: fairymax's source could not be fetched; its tests are left out"
