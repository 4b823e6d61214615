#!/usr/bin/env bash
# The lobby service's embedded XMPP server: Debian's prosody with a
# configuration written into a folder of its own (data, log and pid there),
# listening on loopback only.
#
#   prosody.sh start DIR [PORT]   writes DIR/prosody.cfg.lua, starts prosody in
#                                 the foreground (in the background of this
#                                 shell), waits for the port and prints it;
#                                 with no PORT a free one is taken
#   prosody.sh stop DIR           stops the server started in DIR, by its pid
#
# Accounts are made in-band; the host is "localhost", the room service
# "rooms.localhost". Rooms are unlocked at creation, show every occupant's
# real id and keep no history; a stanza may be at most 64 KiB.
#
# With RWLIVE_TLS_CERT and RWLIVE_TLS_KEY (PEM files) set, the server offers
# STARTTLS with that certificate and takes no client without it.
set -euo pipefail

usage() { echo "usage: $0 start DIR [PORT] | stop DIR" >&2; exit 2; }
[ $# -ge 2 ] || usage
cmd="$1"
dir="$(mkdir -p "$2" && cd "$2" && pwd)"

port_open() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

case "$cmd" in
start)
  rm -f "$dir/port"
  port="${3:-}"
  if [ -n "$port" ] && port_open "$port"; then
    echo "prosody.sh: port $port is in use" >&2
    exit 1
  fi
  if [ -z "$port" ]; then
    for _ in $(seq 1 50); do
      candidate=$((20000 + RANDOM % 30000))
      if ! port_open "$candidate"; then port="$candidate"; break; fi
    done
    [ -n "$port" ] || { echo "prosody.sh: no free port" >&2; exit 1; }
  fi
  mkdir -p "$dir/data" "$dir/certs"
  run_as_root=false
  [ "$(id -u)" != 0 ] || run_as_root=true
  tls="c2s_require_encryption = false"
  if [ -n "${RWLIVE_TLS_CERT:-}" ]; then
    tls="ssl = { certificate = \"$RWLIVE_TLS_CERT\", key = \"$RWLIVE_TLS_KEY\" }
c2s_require_encryption = true"
  fi
  cat >"$dir/prosody.cfg.lua" <<CFG
-- Written by prosody.sh; rewritten at every start.
run_as_root = $run_as_root
pidfile = "$dir/prosody.pid"
data_path = "$dir/data"
certificates = "$dir/certs"
log = { { levels = { min = "info" }, to = "file", filename = "$dir/prosody.log" } }
interfaces = { "127.0.0.1" }
local_interfaces = { "127.0.0.1" }
c2s_ports = { $port }
c2s_interfaces = { "127.0.0.1" }
http_ports = { }
https_ports = { }
c2s_direct_tls_ports = { }
modules_enabled = { "roster", "saslauth", "tls", "disco", "private", "register", "ping" }
modules_disabled = { "s2s", "offline", "c2s_timeout" }
authentication = "internal_hashed"
allow_registration = true
-- Logins are SCRAM, never plain; a certificate when one is given.
$tls
allow_unencrypted_plain_auth = false
-- Payloads are at most 16 KiB before base64; a stanza may be 64 KiB.
c2s_stanza_size_limit = 65536
-- No registration throttle that a test or a room full of players could reach.
min_seconds_between_registrations = 0
registration_throttle_max = 1000000
VirtualHost "localhost"
Component "rooms.localhost" "muc"
  restrict_room_creation = false
  muc_room_locking = false
  muc_room_default_public = true
  muc_room_default_public_jids = true
  muc_room_default_history_length = 0
  muc_room_default_persistent = false
  max_history_messages = 0
CFG
  if [ -f "$dir/prosody.pid" ] && kill -0 "$(cat "$dir/prosody.pid")" 2>/dev/null; then
    echo "prosody.sh: already running in $dir" >&2
    exit 1
  fi
  rm -f "$dir/prosody.pid"
  prosody --config "$dir/prosody.cfg.lua" -F >>"$dir/prosody.out" 2>&1 </dev/null &
  echo $! >"$dir/prosody.pid"
  for _ in $(seq 1 100); do
    if port_open "$port"; then
      echo "$port" >"$dir/port"
      echo "$port"
      exit 0
    fi
    kill -0 "$(cat "$dir/prosody.pid")" 2>/dev/null || break
    sleep 0.1
  done
  echo "prosody.sh: the server did not start; its log:" >&2
  tail -n 20 "$dir/prosody.out" "$dir/prosody.log" >&2 2>/dev/null || true
  exit 1
  ;;
stop)
  [ -f "$dir/prosody.pid" ] || exit 0
  pid="$(cat "$dir/prosody.pid")"
  kill -CONT "$pid" 2>/dev/null || true
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
  rm -f "$dir/prosody.pid" "$dir/port"
  ;;
*) usage ;;
esac
