#!/usr/bin/env bash
# Sets up, builds both trees and runs every test: native (with ASan and UBSan)
# and Windows under Wine. Exits non-zero when any test fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bash scripts/setup.sh
bash scripts/build.sh

. scripts/wine-env.sh
rw_wine_start

jobs="$(nproc)"
status=0
echo "== native tests"
(cd build/native && ctest --output-on-failure -j "$jobs") || status=1
echo "== Windows tests under Wine"
(cd build/win32 && ctest --output-on-failure -j "$jobs") || status=1
exit $status
