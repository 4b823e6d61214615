#!/usr/bin/env bash
# Builds the libFuzzer targets natively with clang and runs one of them.
#   scripts/fuzz.sh                      build only, list the targets
#   scripts/fuzz.sh TARGET [SECONDS]     run TARGET (default 60 s) on its corpus
# A target's corpus lives in the repository beside its source, in
# fuzz/corpus/TARGET of its module; new finds go to build/fuzz/corpus/TARGET.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
out="$root/build/fuzz"
CC=clang CXX=clang++ cmake -S . -B "$out" -G Ninja -DRW_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out"
if [ $# -eq 0 ]; then
  find "$out/bin" -maxdepth 1 -type f -name 'fuzz_*' -printf '%f\n' | sort
  exit 0
fi
target="$1"
seconds="${2:-60}"
seed="$(find "$root/Code" "$root/engine" -type d -path "*/fuzz/corpus/$target" 2>/dev/null | head -1 || true)"
mkdir -p "$out/corpus/$target"
"$out/bin/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
  "$out/corpus/$target" ${seed:+"$seed"}
