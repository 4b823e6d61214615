#!/usr/bin/env bash
# The lobby load benchmark: 100 clients for 60 s at a channel line every
# 10 s and a tell every 2 s per client, then growing client counts until a
# run loses, duplicates or reorders a line or its 99th percentile passes
# 250 ms. Needs the native build (build/native) and Debian's prosody. On a
# machine shared with other work the clients and the server run at
# niceness RW_LOBBY_NICE (default -10 as root, else unchanged).
#   bench/lobby/run.sh [SECONDS] [COUNTS...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
bin="$root/build/native/bin/lobby_load"
script="$root/Code/platform/lobbysvc/server/prosody.sh"
seconds="${1:-60}"
shift || true
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(100 200 300 400 600 800)
nice=()
if [ -n "${RW_LOBBY_NICE:-}" ]; then nice=(--nice "$RW_LOBBY_NICE")
elif [ "$(id -u)" = 0 ]; then nice=(--nice -10); fi
best=0
for n in "${counts[@]}"; do
  echo "== $n clients, $seconds s"
  if "$bin" --script "$script" --clients "$n" --seconds "$seconds" --max-p99-ms 250 "${nice[@]}"; then
    best="$n"
  else
    break
  fi
done
echo "largest client count that held the rate: $best"
