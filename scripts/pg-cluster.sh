#!/usr/bin/env bash
# A private PostgreSQL 15 cluster on loopback: pg-cluster.sh start DIR PORT | stop DIR
# The server refuses to run as root, so as root it runs as the postgres user.
set -euo pipefail
bin=/usr/lib/postgresql/15/bin
cmd=$1 dir=$2

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then su postgres -s /bin/sh -c "$*"; else sh -c "$*"; fi
}

case "$cmd" in
start)
  port=$3
  mkdir -p "$dir"
  [ "$(id -u)" -eq 0 ] && chown postgres:postgres "$dir"
  if [ ! -f "$dir/data/PG_VERSION" ]; then
    printf '%s\n' "${PGCLUSTER_PASSWORD:-postgres}" > "$dir/pwfile"
    [ "$(id -u)" -eq 0 ] && chown postgres "$dir/pwfile"
    as_owner "$bin/initdb -D '$dir/data' -U postgres --pwfile='$dir/pwfile' --auth-local=trust --auth-host=${PGCLUSTER_AUTH:-trust} -E UTF8 --locale=C.UTF-8" >/dev/null
  fi
  as_owner "$bin/pg_ctl -D '$dir/data' -l '$dir/server.log' -w -o \"-p $port -k '$dir' -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=200\" start" >/dev/null
  ;;
status)
  as_owner "$bin/pg_ctl -D '$dir/data' status" >/dev/null 2>&1
  ;;
stop)
  as_owner "$bin/pg_ctl -D '$dir/data' -m fast -w stop" >/dev/null 2>&1 || true
  ;;
esac
