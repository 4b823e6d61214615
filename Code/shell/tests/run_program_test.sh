#!/usr/bin/env bash
# Installs the build tree into a fresh program folder and runs a Windows test
# program that starts Rookwell.exe from it; the folder goes afterwards.
#   run_program_test.sh BUILD_DIR TEST.exe [ARGS...]
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../../.." && pwd)"
build="$1"
shift
folder="$(mktemp -d "${TMPDIR:-/tmp}/rw-program-XXXXXX")"
trap 'rm -rf "$folder"' EXIT
if ! cmake --install "$build" --prefix "$folder/Rookwell" >/dev/null; then
  echo "run_program_test: the program folder could not be installed" >&2
  exit 1
fi
export RW_PROGRAM_DIR="Z:$folder/Rookwell"
bash "$root/Code/gui/tests/run_gui_test.sh" "$@"
