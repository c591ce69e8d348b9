#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests and benchmarks of the PostgreSQL storage.
#
#   scripts/pg_cluster.sh start STATEFILE   initdb into a fresh folder under /tmp, start the
#                                           server on a free private port (TCP on 127.0.0.1 and
#                                           a private socket folder), write STATEFILE: line 1 the
#                                           folder, line 2 the ODBC connection string
#                                           (when it cannot: line 1 empty, line 2 the reason, and
#                                           exit 1)
#   scripts/pg_cluster.sh stop STATEFILE    stop that server and remove the folder and STATEFILE
#   scripts/pg_cluster.sh halt STATEFILE    stop that server, keeping the cluster (the tests of
#                                           a server that goes away)
#   scripts/pg_cluster.sh resume STATEFILE  start a halted server again on its port
#
# initdb and postgres refuse to run as root, so as root the cluster belongs to "nobody". The
# cluster is for tests only: trust authentication, no fsync.
set -uo pipefail

action=${1:-}
state=${2:-}
[ -n "$action" ] && [ -n "$state" ] || { echo "usage: $0 start|stop|halt|resume STATEFILE" >&2; exit 2; }

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u nobody -- "$@"; else "$@"; fi
}

stop() {
  [ -f "$state" ] || return 0
  local dir
  dir=$(sed -n 1p "$state")
  if [ -n "$dir" ] && [ -d "$dir/data" ] && [ -n "$bin" ]; then
    as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate -w -t 30 stop >/dev/null 2>&1
  fi
  case "$dir" in /tmp/qvn-pg.*) rm -rf "$dir" ;; esac
  rm -f "$state"
}

# The halted or resumed cluster of STATEFILE, with the options it was started with.
server_of() {
  dir=$(sed -n 1p "$state" 2>/dev/null)
  [ -n "$dir" ] && [ -f "$dir/options" ] && [ -n "$bin" ] || { echo "pg_cluster.sh: no cluster in $state" >&2; exit 1; }
}

case "$action" in
  stop) stop; exit 0 ;;
  halt) server_of; as_owner "$bin/pg_ctl" -D "$dir/data" -m fast -w -t 30 stop >/dev/null; exit $? ;;
  resume) server_of; as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 -o "$(cat "$dir/options")" start >/dev/null; exit $? ;;
  start) ;;
  *) echo "usage: $0 start|stop|halt|resume STATEFILE" >&2; exit 2 ;;
esac

stop  # a cluster a killed run left behind
# Says why the cluster did not start, on stderr and in STATEFILE, where the tests read it.
give_up() {
  echo "pg_cluster.sh: $1" >&2
  printf '\n%s\n' "$1" > "$state"
  exit 1
}
[ -n "$bin" ] && [ -x "$bin/initdb" ] ||
  give_up "PostgreSQL server programs not found under /usr/lib/postgresql (run scripts/setup.sh)"
dir=$(mktemp -d /tmp/qvn-pg.XXXXXX)
mkdir -p "$dir/sock"
[ "$(id -u)" -eq 0 ] && chown -R nobody "$dir"
if ! as_owner "$bin/initdb" -D "$dir/data" -A trust -U qvn -E UTF8 --locale=C --no-sync >"$dir/initdb.log" 2>&1; then
  reason=$(tail -n 5 "$dir/initdb.log" | tr '\n' ' '); rm -rf "$dir"; give_up "initdb failed: $reason"
fi
for try in 1 2 3 4 5 6 7 8; do
  port=$((20000 + RANDOM % 30000))
  options="-p $port -k $dir/sock -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200"
  if as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 -o "$options" start >/dev/null 2>&1; then
    printf '%s\n' "$options" > "$dir/options"
    [ "$(id -u)" -eq 0 ] && chown nobody "$dir/options"
    printf '%s\n%s\n' "$dir" "Driver={PostgreSQL ANSI};Server=127.0.0.1;Port=$port;Username=qvn;" > "$state"
    echo "pg_cluster.sh: PostgreSQL $("$bin/postgres" --version | awk '{print $3}') on 127.0.0.1:$port in $dir"
    exit 0
  fi
done
reason=$(tail -n 5 "$dir/server.log" 2>/dev/null | tr '\n' ' ')
rm -rf "$dir"
give_up "the server did not start: $reason"
