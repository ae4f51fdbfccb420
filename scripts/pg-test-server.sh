#!/bin/bash
# A throw-away PostgreSQL 15 server for the tests.
#
#   pg-test-server.sh start DIR [OWNER_PID]
#       makes a new cluster in DIR (an empty or missing folder), starts it on a free loopback
#       port and prints the port. The superuser is "pelto" with the password "pelto"; the
#       database "pelto" exists. With OWNER_PID, a watcher stops the server when that process
#       ends, so a test that crashes leaves no server behind.
#   pg-test-server.sh stop DIR
#       stops the server and removes DIR.
#
# Run as root, the server runs as the user "postgres" (the server refuses to run as root).
set -euo pipefail

cmd=${1:-}
dir=${2:-}
[ -n "$cmd" ] && [ -n "$dir" ] || { echo "usage: $0 start|stop DIR [OWNER_PID]" >&2; exit 2; }

bindir=/usr/lib/postgresql/15/bin
[ -x "$bindir/pg_ctl" ] || { echo "PostgreSQL 15 is not installed ($bindir)" >&2; exit 1; }

as_server() {
  if [ "$(id -u)" = 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

case "$cmd" in
start)
  owner=${3:-}
  mkdir -p "$dir"
  [ "$(id -u)" = 0 ] && chown postgres: "$dir"
  chmod 700 "$dir"
  printf 'pelto\n' > "$dir/pw"
  [ "$(id -u)" = 0 ] && chown postgres: "$dir/pw"
  as_server "$bindir/initdb" -D "$dir/data" -U pelto --pwfile="$dir/pw" -A scram-sha-256 \
    -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
  started=
  for _ in $(seq 1 20); do
    port=$((20000 + RANDOM % 40000))
    if as_server "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null 2>&1; then
      started=1
      break
    fi
  done
  [ -n "$started" ] || { cat "$dir/server.log" >&2 2>/dev/null; echo "the server did not start" >&2; exit 1; }
  echo "$port" > "$dir/port"
  PGPASSWORD=pelto "$bindir/createdb" -h 127.0.0.1 -p "$port" -U pelto pelto
  if [ -n "$owner" ]; then
    (
      exec </dev/null >/dev/null 2>&1
      while kill -0 "$owner" 2>/dev/null && [ -f "$dir/data/postmaster.pid" ]; do sleep 1; done
      if [ -f "$dir/data/postmaster.pid" ]; then
        as_server "$bindir/pg_ctl" -D "$dir/data" -m immediate stop || true
        rm -rf "$dir"
      fi
    ) &
    disown
  fi
  echo "$port"
  ;;
stop)
  if [ -f "$dir/data/postmaster.pid" ]; then
    as_server "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  ;;
*)
  echo "usage: $0 start|stop DIR [OWNER_PID]" >&2
  exit 2
  ;;
esac
