#!/usr/bin/env bash
# lobbyctl against a prosody of its own: register, put and get, and a message
# from one account reaching another that listens. Skips without prosody.
set -euo pipefail
ctl="$1"
script="$2"
command -v prosody >/dev/null || { echo "lobbyctl_test: prosody is not installed; skipped"; exit 0; }
dir="$(mktemp -d /tmp/lobbyctl-test-XXXXXX)"
trap 'bash "$script" stop "$dir"; rm -rf "$dir"' EXIT
port="$(bash "$script" start "$dir")"
run() { "$ctl" --port "$port" "$@"; }

run --user ann --password a register
run --user ben --password b register
if run --user ann --password a register 2>/dev/null; then echo "second register succeeded"; exit 1; fi
run --user ann --password a put Score 42
[ "$(run --user ann --password a get Score)" = 42 ]
set +e
run --user ann --password a get Nothing
status=$?
run --user ann --password wrong get Score 2>/dev/null
wrong=$?
set -e
[ "$status" = 3 ] || { echo "get of an unset key: exit $status, not 3"; exit 1; }
[ "$wrong" = 1 ] || { echo "wrong password: exit $wrong, not 1"; exit 1; }

# Within $2 tenths of a second, a line matching $1 in what ben heard.
heard() {
  for _ in $(seq 1 "$2"); do
    grep -qx "$1" "$dir/heard" && return 0
    sleep 0.1
  done
  return 1
}
run --user ben --password b listen 60 >"$dir/heard" &
listener=$!
# Sent only once ben is in the room.
heard "joined .*" 300 || { echo "ben did not join"; cat "$dir/heard"; exit 1; }
run --user ann --password a send "hello room"
run --user ann --password a send "psst" ben
heard "data [0-9]* ann psst" 100 || true
kill "$listener" 2>/dev/null
wait "$listener" 2>/dev/null || true
grep -qx "data [0-9]* ann hello room" "$dir/heard" || { cat "$dir/heard"; exit 1; }
grep -qx "data [0-9]* ann psst" "$dir/heard" || { cat "$dir/heard"; exit 1; }
echo "lobbyctl_test: passed"
