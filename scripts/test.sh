#!/usr/bin/env bash
# Sets up, builds every tree and runs every test: native (with ASan and
# UBSan), the 64-bit Windows tree under wine64, and the 32-bit Windows tree
# under wine32 where this machine's kernel runs 32-bit code (where it cannot,
# that half is skipped and said so). Exits non-zero when any test fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bash scripts/setup.sh
bash scripts/build.sh

. scripts/wine-env.sh

jobs="$(nproc)"
status=0
# Tests skipped for want of outside test data (../shared/testdata), by name.
report_skips() {
  local log="$1/Testing/Temporary/LastTest.log"
  [ -f "$log" ] || return 0
  # No such line is the usual case: grep's "no match" must not end the run.
  { grep -h "^outside test data missing" "$log" || true; } | sed 's/^/  /' | sort -u
}
# Program tests (Rookwell.exe with its engines) each take one "program" slot:
# one per three cores, so that the timing-sensitive ones keep their pace.
spec="$root/build/program-slots.json"
slots=$(( (jobs + 1) / 3 ))
[ "$slots" -ge 1 ] || slots=1
printf '{"version":{"major":1,"minor":0},"local":[{"program":[{"id":"0","slots":%d}]}]}\n' "$slots" >"$spec"

echo "== native tests"
(cd build/native && ctest --output-on-failure -j "$jobs") || status=1
report_skips build/native

echo "== 64-bit Windows tests under Wine"
rw_wine_start win64
(cd build/win64 && ctest --output-on-failure -j "$jobs" --resource-spec-file "$spec") || status=1
report_skips build/win64

if rw_can_run_32bit; then
  echo "== 32-bit Windows tests under Wine"
  rw_wine_start win32
  (cd build/win32 && ctest --output-on-failure -j "$jobs" --resource-spec-file "$spec") || status=1
  report_skips build/win32
else
  echo "== 32-bit Windows tests skipped: this machine's kernel runs no 32-bit code (the 32-bit tree was built)"
fi
exit $status
