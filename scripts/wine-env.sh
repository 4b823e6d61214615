# Sourced by the build, run and test scripts: Wine and display handling.
#
# Two Windows builds run under Wine: the shipped 32-bit one (build/win32, a
# win32 prefix, Wine's 32-bit loader) and a 64-bit build of the same sources
# (build/win64, a win64 prefix, wine64) for machines whose kernel runs no
# 32-bit code at all.
#
#   rw_can_run_32bit   true when this kernel runs 32-bit programs and wine32
#                      is installed (the answer is kept for the shell)
#   rw_wine_env ARCH   exports WINEPREFIX/WINEARCH/WINEDEBUG and RW_WINE (the
#                      loader to call) for win32 or win64, and makes sure the
#                      project's prefix for it exists (created once, outside
#                      the tree: RW_WINEPREFIX and RW_WINEPREFIX64 override)
#   rw_wine_start ARCH rw_wine_env, a private Xvfb when no DISPLAY is set, and
#                      a persistent wineserver; everything started is stopped
#                      again by rw_wine_stop, which an EXIT/INT/TERM trap calls.

_rw_kernel_32bit=""

# A tiny static 32-bit Linux program that only exits: where the kernel has no
# 32-bit support its start fails with "Exec format error" (status 126).
rw_kernel_runs_32bit() {
  if [ -z "$_rw_kernel_32bit" ]; then
    local dir
    dir="$(mktemp -d)"
    _rw_kernel_32bit=no
    if printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' \
         | as --32 -o "$dir/t.o" - 2>/dev/null \
       && ld -m elf_i386 -o "$dir/t" "$dir/t.o" 2>/dev/null \
       && "$dir/t" 2>/dev/null; then
      _rw_kernel_32bit=yes
    fi
    rm -rf "$dir"
  fi
  [ "$_rw_kernel_32bit" = yes ]
}

rw_can_run_32bit() {
  rw_kernel_runs_32bit && [ -x /usr/lib/wine/wine ]
}

rw_wine_env() {
  local arch="${1:-win32}"
  export WINEARCH="$arch"
  local cache="${XDG_CACHE_HOME:-$HOME/.cache}/rookwell"
  case "$arch" in
    win32)
      export WINEPREFIX="${RW_WINEPREFIX:-$cache/wine32}"
      RW_WINE=wine
      [ -x /usr/lib/wine/wine ] && RW_WINE=/usr/lib/wine/wine
      ;;
    win64)
      export WINEPREFIX="${RW_WINEPREFIX64:-$cache/wine64}"
      RW_WINE=wine64
      if [ -x /usr/lib/wine/wine64 ]; then
        RW_WINE=/usr/lib/wine/wine64
        export WINELOADER=/usr/lib/wine/wine64
      fi
      ;;
    *) echo "wine-env: unknown architecture $arch" >&2; return 2 ;;
  esac
  export RW_WINE
  export WINEDEBUG="${WINEDEBUG:--all}"
  # No Mono or Gecko installer dialogs (the programs need neither), and no
  # debugger: a crashed test ends at once instead of waiting in winedbg.
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    local lock="$WINEPREFIX.lock"
    (
      flock 9
      if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine: creating the $arch prefix $WINEPREFIX" >&2
        DISPLAY= "$RW_WINE" wineboot -i >/dev/null 2>&1 || true
        wineserver -w
      fi
    ) 9>"$lock"
  fi
  # The tests run as on a machine without a sound card: no audio driver.
  if ! grep -q '^"Audio"=""' "$WINEPREFIX/user.reg" 2>/dev/null; then
    (
      flock 9
      DISPLAY= "$RW_WINE" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f >/dev/null 2>&1 || true
      wineserver -w
    ) 9>"$WINEPREFIX.lock"
  fi
}

# Starts the prefix's service processes with null standard handles. Otherwise
# the first program started inherits them to those services, which outlive it,
# and whoever reads its output (CTest) waits for an end of file that never comes.
rw_wine_boot() {
  "$RW_WINE" wineboot </dev/null >/dev/null 2>&1 || true
}

_rw_xvfb_pid=""
_rw_started_prefixes=()

rw_wine_start() {
  rw_wine_env "${1:-win32}" || return
  if [ -z "${DISPLAY:-}" ]; then
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    _rw_xvfb_pid=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
  fi
  # A second `wineserver -p` for the same prefix fails: then one is already
  # running for somebody else, and it is not ours to stop.
  if wineserver -p >/dev/null 2>&1; then
    _rw_started_prefixes+=("$WINEPREFIX")
  fi
  rw_wine_boot
  trap rw_wine_stop EXIT
  trap 'rw_wine_stop; exit 130' INT TERM
}

rw_wine_stop() {
  local p
  for p in "${_rw_started_prefixes[@]}"; do
    WINEPREFIX="$p" wineserver -k >/dev/null 2>&1 || true
  done
  _rw_started_prefixes=()
  if [ -n "$_rw_xvfb_pid" ]; then
    kill "$_rw_xvfb_pid" >/dev/null 2>&1 || true
    wait "$_rw_xvfb_pid" 2>/dev/null || true
    _rw_xvfb_pid=""
  fi
}

# The Wine architecture a Windows program needs, from its PE header's machine
# field: win64 for x86-64, win32 otherwise.
rw_pe_arch() {
  local off machine
  off=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  machine=$(od -An -tx2 -j$((${off:-0} + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  if [ "$machine" = 8664 ]; then echo win64; else echo win32; fi
}
