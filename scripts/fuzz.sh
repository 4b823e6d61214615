#!/usr/bin/env bash
# Builds the libFuzzer targets natively with clang and runs them.
#   scripts/fuzz.sh                      build only, list the targets
#   scripts/fuzz.sh TARGET [SECONDS]     run TARGET (default 60 s) on its corpus
#   scripts/fuzz.sh --all SECONDS [JOBS] run every target for SECONDS, JOBS at a
#                                        time (default: half the cores), stop at
#                                        the first finding, end with a table
# A target's corpus lives in the repository beside its source, in
# fuzz/corpus/TARGET of its module; new inputs go to build/fuzz/corpus/TARGET,
# findings (crash-*, leak-*, timeout-*, oom-*) and each run's log to
# build/fuzz/findings/TARGET/. UBSan halts on its first report, so no report
# scrolls past as a pass.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
out="$root/build/fuzz"
CC=clang CXX=clang++ cmake -S . -B "$out" -G Ninja -DRW_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
mapfile -t targets < <(ninja -C "$out" -t targets all | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\): phony$/\1/p' | sort -u)
ninja -C "$out" "${targets[@]}" >/dev/null

export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
export ASAN_OPTIONS="detect_leaks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"

if [ $# -eq 0 ]; then
  printf '%s\n' "${targets[@]}"
  exit 0
fi

# run_target TARGET SECONDS: one libFuzzer run; its log in the findings folder.
run_target() {
  local target="$1" seconds="$2" seed
  seed="$(find "$root/Code" "$root/engine" -type d -path "*/fuzz/corpus/$target" 2>/dev/null | head -1 || true)"
  mkdir -p "$out/corpus/$target" "$out/findings/$target"
  "$out/bin/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -artifact_prefix="$out/findings/$target/" -print_final_stats=1 \
    "$out/corpus/$target" ${seed:+"$seed"} >"$out/findings/$target/log.txt" 2>&1
}

if [ "$1" != "--all" ]; then
  target="$1"
  seconds="${2:-60}"
  status=0
  run_target "$target" "$seconds" || status=$?
  tail -n 30 "$out/findings/$target/log.txt"
  exit $status
fi

seconds="${2:?usage: scripts/fuzz.sh --all SECONDS [JOBS]}"
jobs="${3:-$(( $(nproc) / 2 > 0 ? $(nproc) / 2 : 1 ))}"
echo "fuzz: ${#targets[@]} targets, $seconds s each, $jobs at a time on $(nproc) cores"
declare -A pid_of=()
failed=""
# Start targets while slots are free; a finding stops the rest.
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
    wait -n || { failed=yes; break; }
  done
  [ -n "$failed" ] && break
  run_target "$target" "$seconds" &
  pid_of[$target]=$!
done
if [ -n "$failed" ]; then
  kill $(jobs -rp) 2>/dev/null || true
fi
wait || true

printf '\n%-28s %12s %8s %10s  %s\n' target runs seconds coverage result
status=0
for target in "${targets[@]}"; do
  log="$out/findings/$target/log.txt"
  if [ -z "${pid_of[$target]:-}" ]; then
    printf '%-28s %12s %8s %10s  %s\n' "$target" - - - "not run"
    continue
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  secs=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  if grep -q "^==[0-9]*==ERROR\|runtime error:\|^SUMMARY: libFuzzer\|deadly signal" "$log"; then
    result="FINDING (see $log)"
    status=1
  elif [ -n "$runs" ]; then
    result=clean
  else
    result="stopped"
  fi
  [ -n "$runs" ] && [ -n "$secs" ] && [ "$secs" != 0 ] && secs=$(( runs / secs ))
  printf '%-28s %12s %8s %10s  %s\n' "$target" "${runs:--}" "${secs:--}" "${cov:--}" "$result"
done
exit $status
