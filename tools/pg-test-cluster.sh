#!/usr/bin/env bash
# Runs a command beside a throw-away PostgreSQL server for the tests: a new cluster in a
# temporary folder, listening on 127.0.0.1 only, stopped and removed afterwards, also when
# the command fails. The command finds the server in FINORRA_TEST_PG. Without PostgreSQL,
# or when the server does not start, the command runs all the same and the tests against
# the server report themselves as skipped.
#   tools/pg-test-cluster.sh <command> [arguments…]
set -u

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
  echo "PostgreSQL ist nicht installiert: die Tests gegen den Server werden übersprungen." >&2
  "$@"
  exit $?
fi

dir=$(mktemp -d /tmp/finorra-pg.XXXXXX)
as=()
if [ "$(id -u)" = 0 ]; then
  # The server refuses to run as root.
  chown postgres: "$dir"
  as=(runuser -u postgres --)
fi

cleanup() {
  "${as[@]}" "$bindir/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

started=""
if "${as[@]}" "$bindir/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1; then
  for attempt in 1 2 3 4 5; do
    port=$((20000 + RANDOM % 20000))
    options="-c listen_addresses=127.0.0.1 -p $port -k $dir -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=100"
    if "${as[@]}" "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 -o "$options" start >/dev/null 2>&1; then
      started=$port
      break
    fi
  done
fi

if [ -n "$started" ]; then
  export FINORRA_TEST_PG="host=127.0.0.1 port=$started user=postgres"
  # For tests that stop and start the server under a running program (append stop, start or restart).
  export FINORRA_TEST_PG_CTL="${as[*]} $bindir/pg_ctl -D $dir/data -l $dir/server.log -w -t 60 -o '$options'"
  echo "PostgreSQL-Testserver läuft auf 127.0.0.1:$started."
else
  echo "Der PostgreSQL-Testserver konnte nicht gestartet werden: die Tests gegen den Server werden übersprungen." >&2
  cat "$dir"/*.log >&2 2>/dev/null
fi
"$@"
